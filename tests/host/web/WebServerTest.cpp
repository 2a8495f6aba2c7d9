// `grtool serve` in-process on a loopback port, driven with cpp-httplib's
// client: requests from other origins are refused, every malformed or stale
// request is answered 400 with a message and leaves the project as it was,
// and gestures come back (and are pushed) with what they changed.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/base/Model.h"
#include "host/base/ModelDump.h"
#include "host/web/Editor.h"
#include "host/web/EventHub.h"
#include "host/web/WebServer.h"
#include "tests/host/script/GestureFixture.h"

namespace {

using nlohmann::json;
namespace model = grhost::model;

class WebServerTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithBehaviourLibrary();
    pageFolder_ = folder_.string() + "-page";
    std::filesystem::create_directories(pageFolder_);
    std::ofstream(pageFolder_ / "index.html") << "<!doctype html><title>editor</title>";
    editor_ = std::make_unique<grhost::web::Editor>(*session_, hub_);
    server_ = std::make_unique<grhost::web::WebServer>(*editor_, hub_, pageFolder_);
    port_ = server_->bind(0);
    serving_ = std::thread([this] { server_->run(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client_->set_read_timeout(20, 0);
  }
  void TearDown() override {
    server_->stop();
    serving_.join();
    client_.reset();
    server_.reset();
    editor_.reset();
    std::filesystem::remove_all(pageFolder_);
    GestureTest::TearDown();
  }

  std::string ownHost() const { return "127.0.0.1:" + std::to_string(port_); }

  // The answer to a gesture: its status and its JSON.
  std::pair<int, json> gesture(const std::string& body) {
    httplib::Result result = client_->Post("/api/gesture", body, "application/json");
    EXPECT_TRUE(result) << httplib::to_string(result.error());
    if (!result) return {0, json()};
    return {result->status, json::parse(result->body, nullptr, false)};
  }
  std::pair<int, json> gesture(const json& body) { return gesture(body.dump()); }

  json state() {
    httplib::Result result = client_->Get("/api/state");
    EXPECT_TRUE(result && result->status == 200);
    return result ? json::parse(result->body) : json();
  }

  // Everything the store holds, as `grtool dump --json` prints it.
  static std::string snapshot() { return grhost::dumpJson(grhost::collectObjects("")).dump(); }

  RepId currentDiagram() { return session_->head().diagrams().currentDiagram(); }

  // The seed diagram, opened from the canvas menu.
  RepId openSeedDiagram() {
    auto [status, menu] = gesture(json{{"gesture", "rightClick"}, {"diagram", currentDiagram()}});
    EXPECT_EQ(status, 200) << menu;
    EXPECT_EQ(menu["menu"][0]["caption"], "Specification Diagram");
    auto [chosen, outcome] =
        gesture(json{{"gesture", "chooseMenuItem"}, {"item", menu["menu"][0]["item"]}});
    EXPECT_EQ(chosen, 200) << outcome;
    return outcome["current"]["id"].get<RepId>();
  }

  RepId paletteEntry(RepId diagram, const std::string& caption) {
    for (RepId palette :
         model::partners(model::firstPartner(diagram, "graphDiagramType"), "palette"))
      for (RepId entry : model::partners(palette, "paletteElement"))
        if (model::attribute(entry, "caption") == caption) return entry;
    ADD_FAILURE() << "no palette entry " << caption;
    return 0;
  }

  std::filesystem::path pageFolder_;
  grhost::web::EventHub hub_;
  std::unique_ptr<grhost::web::Editor> editor_;
  std::unique_ptr<grhost::web::WebServer> server_;
  std::unique_ptr<httplib::Client> client_;
  std::thread serving_;
  int port_ = 0;
};

TEST_F(WebServerTest, RequestsFromOtherOriginsAreRefused) {
  std::string before = snapshot();
  RepId diagram = currentDiagram();
  std::string rightClick = json{{"gesture", "rightClick"}, {"diagram", diagram}}.dump();
  std::string port = std::to_string(port_);
  struct Case {
    httplib::Headers headers;
    int status;
  };
  for (const Case& request : std::vector<Case>{
           {{{"Origin", "http://evil.example"}}, 403},
           {{{"Origin", "null"}}, 403},
           {{{"Origin", "http://127.0.0.1:" + std::to_string(port_ + 1)}}, 403},
           {{{"Origin", "https://127.0.0.1:" + port}}, 403},
           {{{"Host", "evil.example:" + port}}, 403},  // a name made to point at the loopback
           {{{"Host", "127.0.0.1"}}, 403},
           {{{"Origin", "http://localhost:" + port}, {"Host", "localhost:" + port}}, 200},
           {{{"Origin", "http://127.0.0.1:" + port}}, 200},
           {{}, 200},
       }) {
    httplib::Result get = client_->Get("/api/state", request.headers);
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, request.status) << get->body;
    httplib::Result page = client_->Get("/index.html", request.headers);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, request.status) << "the page's own files too";
    if (request.status != 403) continue;
    EXPECT_EQ(json::parse(get->body)["error"], "requests from other origins are refused");
    httplib::Result post =
        client_->Post("/api/gesture", request.headers, rightClick, "application/json");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 403);
  }
  EXPECT_EQ(snapshot(), before) << "a refused gesture changed the project";
  EXPECT_EQ(hub_.last(), 0u) << "nothing was pushed";
}

TEST_F(WebServerTest, MalformedAndStaleRequestsAre400AndChangeNothing) {
  RepId seedDiagram = openSeedDiagram();
  RepId seedEntry = paletteEntry(seedDiagram, "Seed");
  auto [drawn, seed] =
      gesture(json{{"gesture", "drawBox"}, {"diagram", seedDiagram}, {"palette", seedEntry}});
  ASSERT_EQ(drawn, 200) << seed;
  RepId node = seed["added"][0]["id"].get<RepId>();
  // The seed's properties dialog opens as it is drawn.
  ASSERT_EQ(seed["forms"]["opened"].size(), 1u) << seed;
  ASSERT_EQ(
      gesture(json{{"gesture", "closeForm"}, {"form", seed["forms"]["opened"][0]["id"]}}).first,
      200);
  RepId typeDiagram = model::firstPartner(node, "target");
  RepId projectDiagram = 0;
  for (RepId diagram : model::objectsOf("GraphDiagram"))
    if (diagram != seedDiagram && diagram != typeDiagram) projectDiagram = diagram;
  std::string d = std::to_string(seedDiagram), box = std::to_string(seedEntry);
  std::string before = snapshot();
  std::uint64_t pushed = hub_.last();

  struct Case {
    std::string body;
    std::string error;
  };
  for (const Case& request : std::vector<Case>{
           {"nonsense", "the body is not JSON"},
           {"[1, 2]", "the body must be a JSON object"},
           {"{}", "the field \"gesture\" must name a gesture"},
           {R"({"gesture": 3})", "the field \"gesture\" must name a gesture"},
           {R"({"gesture": "fly"})", "there is no gesture \"fly\""},
           {R"({"gesture": "rightClick"})", "the field \"diagram\" is missing"},
           {R"({"gesture": "rightClick", "diagram": "12"})",
            "the field \"diagram\" must be an object id (a positive integer)"},
           {R"({"gesture": "rightClick", "diagram": -4})",
            "the field \"diagram\" must be an object id (a positive integer)"},
           {R"({"gesture": "rightClick", "diagram": 99999999})", "object 99999999 does not exist"},
           {R"({"gesture": "rightClick", "diagram": )" + std::to_string(node) + "}",
            "object " + std::to_string(node) + " is no diagram"},
           {R"({"gesture": "rightClick", "diagram": )" + std::to_string(typeDiagram) + "}",
            "the diagram \"NewDiagram\" is not open"},
           {R"({"gesture": "rightClick", "diagram": )" + std::to_string(projectDiagram) + "}",
            "the diagram \"Demo\" is not the current diagram"},
           {R"({"gesture": "drawBox", "diagram": )" + d + "}", "the field \"palette\" is missing"},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "at": [1]})",
            "the field \"at\" must be a list of 2 integers"},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "at": [1.5, 2]})",
            "the field \"at\" must be a list of 2 integers"},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "at": [1, 99999999999]})",
            "the field \"at\" must be a list of 2 integers (99999999999 is out of range)"},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "size": [10, 10]})",
            "a \"size\" needs an \"at\""},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "colour": "red"})",
            "unknown field \"colour\""},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + box +
                R"(, "at": [200000000, 0]})",
            "x 200000000 is out of range (±100000000)"},
           {R"({"gesture": "drawBox", "diagram": )" + d + R"(, "palette": )" + d + "}",
            "the palette of \"Specification Diagram\" has no PaletteBox " + d},
           {R"({"gesture": "select", "diagram": )" + d + R"(, "elements": [)" +
                std::to_string(seedEntry) + "]}",
            "PaletteBox " + box + " is no Element but a PaletteBox"},
           {R"({"gesture": "editText", "diagram": )" + d + R"(, "compartment": )" +
                std::to_string(node) + R"(, "text": "x"})",
            "object " + std::to_string(node) + " is no compartment"},
           {R"({"gesture": "moveLineEnd", "diagram": )" + d + R"(, "edge": )" +
                std::to_string(node) + R"(, "end": "middle", "target": )" + std::to_string(node) +
                "}",
            "the field \"end\" must be \"start\" or \"end\""},
           {R"({"gesture": "pressButton", "form": )" + d + R"(, "button": 1})",
            "the form " + d + " is not open"},
           {R"({"gesture": "closeForm"})", "the field \"form\" is missing"},
           {R"({"gesture": "chooseMenuItem", "item": )" + box + "}",
            "the last menu shown has no item " + box},
           {R"({"gesture": "openDiagram", "target": )" + box + "}",
            "PaletteBox " + box + " is no GraphDiagram"},
       }) {
    auto [status, answer] = gesture(request.body);
    EXPECT_EQ(status, 400) << request.body;
    EXPECT_EQ(answer.value("error", ""), request.error) << request.body;
  }
  httplib::Result text = client_->Post("/api/gesture", "{}", "text/plain");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->status, 400);
  EXPECT_EQ(client_->Get("/api/elements/abc")->status, 400);
  EXPECT_EQ(client_->Get("/api/elements/" + box)->status, 400) << "no element";
  EXPECT_EQ(client_->Get("/api/nothing")->status, 404);
  EXPECT_EQ(snapshot(), before) << "a refused request changed the project";
  EXPECT_EQ(hub_.last(), pushed) << "a refused request was pushed";
  EXPECT_EQ(state()["currentDiagram"], seedDiagram) << "the server still answers";
}

TEST_F(WebServerTest, AGestureAnswersWithTheSvgOfWhatItChangedAndEveryPageIsTold) {
  RepId seedDiagram = openSeedDiagram();
  std::uint64_t seen = hub_.last();
  std::string pushed;
  std::atomic<bool> told{false};
  // A page that watches from the event it has seen on: it is told of what
  // comes after, whenever it connects.
  std::thread watcher([&] {
    httplib::Client watching("127.0.0.1", port_);
    watching.set_read_timeout(20, 0);
    watching.Get(("/api/events?since=" + std::to_string(seen)).c_str(),
                 [&](const char* data, std::size_t length) {
                   pushed.append(data, length);
                   told = pushed.find("\n\n", pushed.find("event: outcome")) != std::string::npos;
                   return !told;
                 });
  });
  auto [status, outcome] = gesture(json{{"gesture", "drawBox"},
                                        {"diagram", seedDiagram},
                                        {"palette", paletteEntry(seedDiagram, "Seed")},
                                        {"at", {40, 60}}});
  ASSERT_EQ(status, 200) << outcome;
  ASSERT_EQ(outcome["added"].size(), 1u) << outcome;
  const json& added = outcome["added"][0];
  RepId seed = added["id"].get<RepId>();
  EXPECT_EQ(added["kind"], "node");
  EXPECT_EQ(added["layer"], "nodes");
  EXPECT_EQ(added["parent"], 0);
  EXPECT_EQ(model::attribute(seed, "location"), "40 60 110 45");
  EXPECT_NE(added["svg"].get<std::string>().find("id=\"e" + std::to_string(seed) + "\""),
            std::string::npos);
  json name = added["texts"][1];
  EXPECT_EQ(name["type"], "Name");
  EXPECT_TRUE(name["editable"]) << "a seed's name is typed in place";
  EXPECT_FALSE(added["texts"][0]["editable"]) << "AS#Name shows its type's caption";
  EXPECT_EQ(outcome["selection"], json::array({seed}));
  EXPECT_EQ(outcome["seq"], seen + 1);
  ASSERT_EQ(outcome["forms"]["opened"].size(), 1u) << outcome;
  ASSERT_EQ(
      gesture(json{{"gesture", "closeForm"}, {"form", outcome["forms"]["opened"][0]["id"]}}).first,
      200);

  auto [edited, text] = gesture(json{{"gesture", "editText"},
                                     {"diagram", seedDiagram},
                                     {"compartment", name["compartment"]},
                                     {"text", "Firma"}});
  ASSERT_EQ(edited, 200) << text;
  ASSERT_EQ(text["changed"].size(), 1u);
  EXPECT_NE(text["changed"][0]["svg"].get<std::string>().find(">Firma</text>"), std::string::npos);
  bool renamed = false;
  for (const json& diagram : text["diagrams"]) renamed = renamed || diagram["caption"] == "Firma";
  EXPECT_TRUE(renamed) << "the type diagram took the seed's name";

  for (int waited = 0; !told && waited < 1000; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (!told) server_->stop();  // ends the stream, so that the watcher returns
  watcher.join();
  EXPECT_NE(pushed.find("id: " + std::to_string(seen + 1) + "\nevent: outcome\ndata: {"),
            std::string::npos)
      << pushed.substr(0, 300);
}

}  // namespace
