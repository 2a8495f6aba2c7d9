// grtool: creates and opens projects, plays gesture scripts, shares projects
// with a team, renders diagrams, exports and imports exchange texts, dumps
// the model and serves the editor to a browser.
#include <pthread.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/base/HostError.h"
#include "host/base/Model.h"
#include "host/base/ModelDump.h"
#include "host/base/OrphanCheck.h"
#include "host/gestures/ExchangeGestures.h"
#include "host/gestures/Gestures.h"
#include "host/head/Project.h"
#include "host/head/Session.h"
#include "host/multiuser/PostgresSharedStore.h"
#include "host/render/SvgRender.h"
#include "host/script/ScriptPlayer.h"
#include "host/web/Editor.h"
#include "host/web/EventHub.h"
#include "host/web/WebServer.h"

namespace {

using grhost::HostOptions;
using grhost::Session;

// An open project's folder is the current directory; the paths on the
// command line are taken from the folder grtool was started in.
std::string fromStartFolder(const std::string& path) {
  return path.empty() ? path : std::filesystem::absolute(path).string();
}

int newProject(const std::string& folder, const std::string& name, const HostOptions& options) {
  auto session = Session::createProject(folder, name, options);
  std::cout << "created project " << session->project().folder().string() << "\n";
  return 0;
}

int playScripts(const std::string& folder, const std::vector<std::string>& scripts,
                const HostOptions& options) {
  auto session = Session::openProject(folder, options);
  grhost::ScriptPlayer player(session->head(), session->log());
  grhost::addCoreStatements(player);
  grhost::addExpectations(player);
  for (const std::string& script : scripts) {
    if (!player.playFile(script, std::cerr)) return 1;
    session->idle();
    std::cout << script << ": played, " << player.expectationsMet() << " expectations met\n";
  }
  return 0;
}

// The conversion is one gesture; grtool ends in it, before it is committed,
// when the areas can not be written (Gestures::convertToMultiUser).
int shareProject(const std::string& folder, HostOptions options) {
  options.createSharedStore = true;
  auto session = Session::openProject(folder, options);
  grhost::Gestures gestures(session->head(), session->log());
  gestures.convertToMultiUser();
  const grhost::shared::MultiUserEngine& engine = session->head().multiUser();
  std::cout << "shared " << session->project().folder().string() << " at " << engine.location()
            << " as " << engine.user() << "\n";
  return 0;
}

int dumpModel(const std::string& folder, const std::string& className, bool json) {
  grhost::Project project = grhost::Project::open(folder);
  std::vector<grhost::DumpedObject> objects = grhost::collectObjects(className);
  if (json)
    std::cout << grhost::dumpJson(objects).dump() << "\n";
  else
    std::cout << grhost::dumpText(objects);
  return 0;
}

// Prints the parts nothing owns; 1 when there are any.
int checkModel(const std::string& folder) {
  grhost::Project project = grhost::Project::open(folder);
  std::vector<grhost::Orphan> orphans = grhost::findOrphans();
  for (const grhost::Orphan& orphan : orphans) std::cout << grhost::describeOrphan(orphan) << "\n";
  std::cout << (orphans.empty() ? "no orphans" : std::to_string(orphans.size()) + " orphans")
            << "\n";
  return orphans.empty() ? 0 : 1;
}

struct ExportRequest {
  std::string caption;
  std::string typeId;
  bool withSeeds = false;
  std::string output;
};

// The diagram or the tool as its seed's menu exports it, copied to the output.
int exportText(const std::string& folder, const ExportRequest& request,
               const HostOptions& options) {
  auto session = Session::openProject(folder, options);
  grhost::Gestures gestures(session->head(), session->log());
  grhost::ExchangeGestures exchange(gestures);
  const grhost::ExchangeWritten written =
      request.caption.empty()
          ? exchange.exportTool(request.typeId, request.withSeeds, request.output)
          : exchange.exportDiagram(request.caption, request.output);
  std::cout << "exported "
            << (request.caption.empty() ? "tool \"" + request.typeId
                                        : "diagram \"" + request.caption)
            << "\" to " << written.file.string() << ": " << written.statements << " statements, "
            << written.objects << " objects\n";
  return 0;
}

struct ImportRequest {
  std::string file;
  std::string kind;
  std::string into;
};

int importText(const std::string& folder, const ImportRequest& request,
               const HostOptions& options) {
  auto session = Session::openProject(folder, options);
  grhost::Gestures gestures(session->head(), session->log());
  grhost::ExchangeGestures exchange(gestures);
  std::optional<grhost::ExchangeTextKind> kind;
  if (!request.kind.empty())
    kind =
        request.kind == "tool" ? grhost::ExchangeTextKind::Tool : grhost::ExchangeTextKind::Diagram;
  const grhost::ExchangeRead read = exchange.importText(request.file, kind, request.into);
  std::cout << "imported " << request.file << ": " << read.statements << " statements, "
            << read.objectsCreated << " objects created";
  if (!read.messages.empty())
    std::cout << ", " << read.messages.size() << " lookups failed (shown above)";
  std::cout << "\n";
  return 0;
}

struct RenderRequest {
  std::string caption;
  std::string output;
  std::string folder;
};

RepId diagramToRender(const std::string& caption) {
  RepId diagram = caption.empty() ? grhost::render::currentDiagram()
                                  : grhost::render::diagramByCaption(caption);
  if (diagram) return diagram;
  throw grhost::HostError(caption.empty() ? "There is no current diagram; name one with --diagram."
                                          : "There is no diagram \"" + caption + "\".");
}

// Rendering lays out what has no geometry yet; the new locations are kept.
int renderDiagrams(const std::string& folder, const RenderRequest& request) {
  grhost::Project project = grhost::Project::open(folder);
  grhost::model::SaveTransaction transaction;
  if (!request.folder.empty()) {
    for (const auto& rendered : grhost::render::renderAllDiagrams(request.folder))
      std::cout << "rendered \"" << rendered.caption << "\" to " << rendered.file.string() << "\n";
    return 0;
  }
  std::string svg = grhost::render::renderDiagram(diagramToRender(request.caption));
  if (request.output.empty()) {
    std::cout << svg;
  } else {
    grhost::render::writeTextFile(request.output, svg);
    std::cout << "rendered to " << request.output << "\n";
  }
  return 0;
}

// Serves until SIGINT or SIGTERM. The signals are blocked in every thread
// and taken here, so that stopping is an ordinary call, not a signal handler.
int serveProject(const std::string& folder, int port, const HostOptions& options) {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  auto session = Session::openProject(folder, options);
  grhost::web::EventHub hub;
  grhost::web::Editor editor(*session, hub);
  grhost::web::WebServer server(editor, hub, grhost::programFolder() / "web");
  server.bind(port);
  std::cout << "serving " << session->project().folder().string() << " at " << server.address()
            << std::endl;
  std::thread serving([&] {
    server.run();
    kill(getpid(), SIGTERM);  // a server that ended by itself ends the wait below
  });
  // Between the signals' checks the host is idle: the store may fold its log.
  timespec aSecond{1, 0};
  while (sigtimedwait(&stopSignals, nullptr, &aSecond) < 0)
    editor.idleIfQuiet(std::chrono::seconds(2));
  server.stop();
  serving.join();
  std::cout << "stopped serving" << std::endl;
  return 0;
}

int run(int argc, char** argv) {
  CLI::App app{"grtool: the headless host of the diagramming environment"};
  app.require_subcommand(1);
  HostOptions options;
  std::string folder, name, className, toolFolder;
  std::vector<std::string> scripts;
  bool json = false;

  CLI::App* create = app.add_subcommand("new", "Create a project and run its start-up");
  create->add_option("PROJECT", folder, "The project folder to create")->required();
  create->add_option("--name", name, "The project's name (default: the folder's name)");
  create->add_option("--tool", toolFolder, "The tool folder (default: none)");

  CLI::App* play = app.add_subcommand("play", "Open a project and play gesture scripts");
  play->add_option("PROJECT", folder, "The project folder")->required();
  play->add_option("SCRIPT", scripts, "Gesture scripts, played in order")->required();
  play->add_option("--tool", toolFolder, "The tool folder (default: none)");
  play->add_option("--undo-depth", options.undoDepth,
                   "The gestures undo can take back (default: 100)")
      ->check(CLI::PositiveNumber);
  double leaseSeconds = 0;
  auto sharedOptions = [&](CLI::App* command) {
    command->add_option("--user", options.shared.user,
                        "The member's user name (default: the login name)");
    command
        ->add_option("--lease", leaseSeconds,
                     "Seconds a lock outlives its holder's last renewal (default: 60)")
        ->check(CLI::Range(0.5, 86400.0));
  };
  play->add_option("--shared", options.shared.location,
                   "The shared store: a folder or a postgresql:// address (default: the one "
                   "the project was shared to)");
  sharedOptions(play);

  CLI::App* share = app.add_subcommand("share", "Convert a project to shared diagram areas");
  share->add_option("PROJECT", folder, "The project folder")->required();
  share
      ->add_option("--shared", options.shared.location,
                   "An empty folder or shared store folder, or a postgresql:// address")
      ->required();
  share->add_option("--tool", toolFolder, "The tool folder (default: none)");
  sharedOptions(share);

  CLI::App* dump = app.add_subcommand("dump", "Print every object of a project's model");
  dump->add_option("PROJECT", folder, "The project folder")->required();
  dump->add_option("--class", className, "Only objects of this class and its subclasses");
  dump->add_flag("--json", json, "Print JSON instead of text");

  CLI::App* check = app.add_subcommand("check", "List the parts of compositions nothing owns");
  check->add_option("PROJECT", folder, "The project folder")->required();

  RenderRequest renderRequest;
  CLI::App* render = app.add_subcommand("render", "Draw diagrams of a project as SVG");
  render->add_option("PROJECT", folder, "The project folder")->required();
  CLI::Option* one =
      render->add_option("--diagram", renderRequest.caption,
                         "The caption of the diagram (default: the current diagram)");
  CLI::Option* file = render->add_option("-o,--output", renderRequest.output,
                                         "The SVG file to write (default: standard output)");
  render
      ->add_option("--dir", renderRequest.folder,
                   "Draw every diagram into this folder, one file each")
      ->excludes(one)
      ->excludes(file);

  ExportRequest exportRequest;
  CLI::App* exporting =
      app.add_subcommand("export", "Write a diagram or a tool definition as an exchange text");
  exporting->add_option("PROJECT", folder, "The project folder")->required();
  CLI::Option* diagram = exporting->add_option(
      "--diagram", exportRequest.caption, "The caption of the diagram, exported with its seed");
  CLI::Option* tool = exporting->add_option("--tool", exportRequest.typeId,
                                            "The id of the diagram type whose tool is exported");
  diagram->excludes(tool);
  exporting
      ->add_flag("--with-seeds", exportRequest.withSeeds, "With the tool's seed and type diagrams")
      ->needs(tool);
  exporting->add_option("-o,--output", exportRequest.output, "The exchange text to write")
      ->required();
  exporting->callback([&] {
    if (exportRequest.caption.empty() && exportRequest.typeId.empty())
      throw CLI::RequiredError("--diagram or --tool");
  });

  ImportRequest importRequest;
  CLI::App* importing =
      app.add_subcommand("import", "Read an exchange text (a diagram or a tool) into a project");
  importing->add_option("PROJECT", folder, "The project folder")->required();
  importing->add_option("FILE", importRequest.file, "The exchange text")->required();
  importing
      ->add_option("--kind", importRequest.kind,
                   "diagram or tool (default: a text that declares a diagram type is a tool)")
      ->check(CLI::IsMember({"diagram", "tool"}));
  importing->add_option("--into", importRequest.into,
                        "The diagram that elements without a diagram join (default: the current)");

  int port = 0;
  CLI::App* serve = app.add_subcommand("serve", "Serve the editor of a project to a browser");
  serve->add_option("PROJECT", folder, "The project folder")->required();
  serve->add_option("--port", port, "The port on 127.0.0.1 (default: a free one)")
      ->check(CLI::Range(0, 65535));
  serve->add_option("--tool", toolFolder, "A folder of installed tools (default: none)");
  serve
      ->add_option("--undo-depth", options.undoDepth,
                   "The gestures undo can take back (default: 100)")
      ->check(CLI::PositiveNumber);
  serve->add_option("--shared", options.shared.location,
                    "The shared store (default: the one the project was shared to)");
  sharedOptions(serve);

  CLI11_PARSE(app, argc, argv);
  options.toolFolder = fromStartFolder(toolFolder);
  if (leaseSeconds > 0)
    options.shared.lease = std::chrono::milliseconds(static_cast<int64_t>(leaseSeconds * 1000));
  if (!options.shared.location.empty() &&
      !grhost::shared::isPostgresAddress(options.shared.location))
    options.shared.location = fromStartFolder(options.shared.location);
  for (std::string& script : scripts) script = fromStartFolder(script);
  renderRequest.output = fromStartFolder(renderRequest.output);
  renderRequest.folder = fromStartFolder(renderRequest.folder);
  exportRequest.output = fromStartFolder(exportRequest.output);
  importRequest.file = fromStartFolder(importRequest.file);
  if (create->parsed()) return newProject(folder, name, options);
  if (play->parsed()) return playScripts(folder, scripts, options);
  if (share->parsed()) return shareProject(folder, options);
  if (render->parsed()) return renderDiagrams(folder, renderRequest);
  if (check->parsed()) return checkModel(folder);
  if (serve->parsed()) return serveProject(folder, port, options);
  if (exporting->parsed()) return exportText(folder, exportRequest, options);
  if (importing->parsed()) return importText(folder, importRequest, options);
  return dumpModel(folder, className, json);
}

}  // namespace

// A failure (a HostError with the reason, or any other exception) ends grtool
// with its message.
int main(int argc, char** argv) {
  // A file grown beyond the process's limit is a failed write that the store
  // reports, not a signal that ends the host with the project half saved.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return run(argc, argv);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "grtool: %s\n", failure.what());
  } catch (...) {
    std::fputs("grtool: an unknown failure\n", stderr);
  }
  return 1;
}
