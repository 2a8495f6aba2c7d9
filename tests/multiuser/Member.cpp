// A member of a team at work, for the crash and concurrency tests of shared
// diagrams: it opens its copy of the project as USER and drives the same
// gesture layer a user's front end does (menu items "Lock", "Commit" ...).
//
//   grtest_member PROJECT USER LOCATION LEASE-SECONDS try-lock NAME
//       locks the child diagram of the box named NAME; prints the
//       information-bar text it got
//   grtest_member ... hold NAME MARK
//       locks it, adds a box "uncommitted by USER", writes MARK and waits
//       to be killed, renewing its lock meanwhile
//   grtest_member ... edit-commit NAME TEXT
//       locks it, adds a box named TEXT and commits
//   grtest_member ... race SECONDS SEED LOG NAME...
//       until SECONDS have passed: locks one of the diagrams at random,
//       counts its "count=N" box one up, adds a box, commits; each step is
//       a line of LOG (times from CLOCK_MONOTONIC, in microseconds)
//   grtest_member ... report NAME...
//       checks each diagram out and prints "NAME count=N box box ..."
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/base/Model.h"
#include "host/gestures/Gestures.h"
#include "host/head/Session.h"

namespace {

using namespace grhost;

long long monotonicMicros() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

RepId elementNamed(const std::string& name) {
  for (RepId compartment : model::objectsOf("Compartment"))
    if (model::attribute(compartment, "value") == name)
      if (RepId element = model::firstPartner(compartment, "element")) return element;
  return 0;
}

class Member {
 public:
  Member(Session& session) : session_(session), gestures_(session.head(), session.log()) {}

  // The last information-bar text of the gesture.
  std::string lockChild(const std::string& name) { return onBox(name, "Lock"); }
  std::string checkoutChild(const std::string& name) { return onBox(name, "Checkout"); }

  std::string commitCurrent() {
    gestures_.select({});
    GestureOutcome shown = gestures_.rightClick(0);
    return lastInfo(gestures_.chooseMenuItem(gestures_.menuItem("Commit")));
  }

  RepId childDiagram(const std::string& name) {
    return model::firstPartner(elementNamed(name), "target");
  }

  // Adds a box named TEXT to the current diagram.
  void addBox(const std::string& text, int x, int y) {
    BoxPlacement where;
    where.corner = geometry::Point{x, y};
    GestureOutcome drawn =
        gestures_.drawBox(gestures_.paletteEntry("PaletteBox", "Part"), 0, where);
    RepId box = drawn.firstAdded("Node");
    if (!box) throw HostError("no box was drawn");
    // A drawn box opens its properties dialog.
    if (gestures_.activeForm()) gestures_.closeForm();
    gestures_.editText(gestures_.compartment(box, "Name"), text);
  }

  // The counter box of DIAGRAM: its value, and the box.
  std::pair<int, RepId> counter(RepId diagram) {
    for (RepId element : model::partners(diagram, "element")) {
      std::string value = model::attribute(model::compartmentOfType(element, "Name"), "value");
      if (value.rfind("count=", 0) == 0) return {std::stoi(value.substr(6)), element};
    }
    throw HostError("the diagram has no count= box");
  }

  void setCounter(RepId box, int value) {
    gestures_.editText(gestures_.compartment(box, "Name"), "count=" + std::to_string(value));
  }

  std::vector<std::string> boxNames(RepId diagram) {
    std::vector<std::string> names;
    for (RepId element : model::partners(diagram, "element"))
      names.push_back(model::attribute(model::compartmentOfType(element, "Name"), "value"));
    return names;
  }

 private:
  std::string onBox(const std::string& name, const std::string& item) {
    gestures_.openDiagram(gestures_.diagramWithCaption("Demo"));
    RepId box = elementNamed(name);
    if (!box) throw HostError("there is no box named " + name);
    gestures_.rightClick(box);
    return lastInfo(gestures_.chooseMenuItem(gestures_.menuItem(item)));
  }

  static std::string lastInfo(const GestureOutcome& outcome) {
    std::string info;
    for (const Message& message : outcome.messages)
      if (message.kind == "info") info = message.text;
    return info;
  }

  Session& session_;
  Gestures gestures_;
};

int race(Member& member, const std::string& user, const std::vector<std::string>& args) {
  double seconds = std::stod(args.at(0));
  std::mt19937 random(static_cast<unsigned>(std::stoul(args.at(1))));
  std::ofstream log(args.at(2));
  std::vector<std::string> names(args.begin() + 3, args.end());
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (int step = 0; std::chrono::steady_clock::now() < deadline; ++step) {
    const std::string& name = names[random() % names.size()];
    std::string locked = member.lockChild(name);
    if (locked != "Done") {
      log << "refused " << name << " " << monotonicMicros() << " " << locked << "\n";
      std::this_thread::sleep_for(std::chrono::milliseconds(random() % 50));
      continue;
    }
    log << "locked " << name << " " << monotonicMicros() << "\n" << std::flush;
    RepId diagram = member.childDiagram(name);
    auto [count, box] = member.counter(diagram);
    member.setCounter(box, count + 1);
    std::string mark = user + "-" + std::to_string(step);
    member.addBox(mark, 20 + static_cast<int>(random() % 600),
                  100 + static_cast<int>(random() % 400));
    log << "releasing " << name << " " << monotonicMicros() << "\n" << std::flush;
    std::string committed = member.commitCurrent();
    if (committed == "Commited")
      log << "committed " << name << " " << monotonicMicros() << " " << count + 1 << " " << mark
          << "\n";
    else
      log << "commit-refused " << name << " " << monotonicMicros() << " " << committed << "\n";
    log << std::flush;
  }
  return 0;
}

int run(int argc, char** argv) {
  if (argc < 6) {
    std::cerr << "usage: grtest_member PROJECT USER LOCATION LEASE MODE ARGS...\n";
    return 2;
  }
  HostOptions options;
  options.echo = nullptr;
  options.shared.user = argv[2];
  options.shared.location = argv[3];
  options.shared.lease =
      std::chrono::milliseconds(static_cast<long long>(std::stod(argv[4]) * 1000));
  std::string mode = argv[5];
  std::vector<std::string> args(argv + 6, argv + argc);
  auto session = Session::openProject(argv[1], options);
  Member member(*session);
  if (mode == "try-lock") {
    std::cout << member.lockChild(args.at(0)) << "\n";
  } else if (mode == "hold") {
    std::string locked = member.lockChild(args.at(0));
    if (locked != "Done") {
      std::cerr << "hold: " << locked << "\n";
      return 1;
    }
    member.addBox("uncommitted by " + options.shared.user, 300, 300);
    std::ofstream(args.at(1)) << "held\n";
    for (;;) pause();
  } else if (mode == "edit-commit") {
    std::string locked = member.lockChild(args.at(0));
    if (locked != "Done") throw HostError("lock: " + locked);
    member.addBox(args.at(1), 300, 200);
    std::string committed = member.commitCurrent();
    std::cout << committed << "\n";
    return committed == "Commited" ? 0 : 1;
  } else if (mode == "race") {
    return race(member, options.shared.user, args);
  } else if (mode == "report") {
    for (const std::string& name : args) {
      std::string fetched = member.checkoutChild(name);
      if (fetched != "Done") throw HostError("checkout: " + fetched);
      std::cout << name;
      for (const std::string& box : member.boxNames(member.childDiagram(name)))
        std::cout << " " << box;
      std::cout << "\n";
    }
  } else {
    std::cerr << "unknown mode " << mode << "\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& failure) {
    std::cerr << "grtest_member: " << failure.what() << "\n";
  }
  return 1;
}
