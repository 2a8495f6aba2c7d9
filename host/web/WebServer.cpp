#include "host/web/WebServer.h"

#include <httplib.h>

#include <thread>

#include "host/base/HostError.h"
#include "host/web/Editor.h"
#include "host/web/EventHub.h"

namespace grhost::web {
namespace {

using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;

constexpr std::size_t kMaxBody = 1 << 20;
// Every watching page holds a thread; the rest answer requests.
constexpr std::size_t kThreads = WebServer::kMaxWatchers + 8;
constexpr auto kQuietPeriod = std::chrono::seconds(15);
constexpr const char* kLoopback = "127.0.0.1";

void send(Response& response, const Reply& reply) {
  response.status = reply.status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(reply.body, reply.contentType);
}

// The event number a stream continues after: the browser's Last-Event-ID
// when it reconnects, else the page's "since"; else from now on.
std::uint64_t continueAfter(const Request& request, std::uint64_t now) {
  std::string text = request.has_header("Last-Event-ID") ? request.get_header_value("Last-Event-ID")
                                                         : request.get_param_value("since");
  if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
    return now;
  return std::stoull(text);
}

std::string eventText(const PushedEvent& event) {
  return "id: " + std::to_string(event.seq) + "\nevent: " + event.name + "\ndata: " + event.data +
         "\n\n";
}

}  // namespace

WebServer::WebServer(Editor& editor, EventHub& hub, std::filesystem::path webFolder)
    : editor_(editor),
      hub_(hub),
      webFolder_(std::move(webFolder)),
      server_(std::make_unique<httplib::Server>()),
      watchers_(std::make_shared<std::atomic<int>>(0)) {
  server_->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server_->set_payload_max_length(kMaxBody);
  server_->set_keep_alive_max_count(1000);
  // An answer leaves in two writes (head, body): without this the body waits
  // for the browser's delayed acknowledgement of the head, some 40 ms.
  server_->set_tcp_nodelay(true);
  server_->set_file_extension_and_mimetype_mapping("js", "text/javascript");
  server_->set_pre_routing_handler([this](const Request& request, Response& response) {
    if (fromOwnOrigin(request)) return HandlerResponse::Unhandled;
    send(response, Editor::error(403, "requests from other origins are refused"));
    return HandlerResponse::Handled;
  });
  server_->set_file_request_handler(
      [](const Request&, Response& response) { response.set_header("Cache-Control", "no-store"); });
  server_->set_exception_handler([](const Request&, Response& response, std::exception_ptr) {
    send(response, Editor::error(500, "the request failed inside the server"));
  });
  server_->set_error_handler([](const Request& request, Response& response) {
    if (response.body.empty())
      send(response, Editor::error(response.status, "no such resource: " + request.path));
  });
  if (!std::filesystem::is_directory(webFolder_) ||
      !server_->set_mount_point("/", webFolder_.string()))
    throw HostError("The editor's files are missing: " + webFolder_.string() + " is no folder.");
  addRoutes();
}

WebServer::~WebServer() = default;

void WebServer::addRoutes() {
  server_->Get("/api/state",
               [this](const Request&, Response& response) { send(response, editor_.state()); });
  server_->Post("/api/gesture", [this](const Request& request, Response& response) {
    if (request.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
      send(response,
           Editor::error(400, "a gesture is sent as JSON (Content-Type: application/json)"));
      return;
    }
    send(response, editor_.gesture(request.body));
  });
  server_->Get(R"(/api/elements/([^/]+))", [this](const Request& request, Response& response) {
    send(response, editor_.element(request.matches[1]));
  });
  server_->Get("/api/export.svg", [this](const Request&, Response& response) {
    send(response, editor_.exportSvg());
    if (response.status == 200)
      response.set_header("Content-Disposition", "attachment; filename=\"diagram.svg\"");
  });
  server_->Get("/api/events", [this](const Request& request, Response& response) {
    if (watchers_->load() >= kMaxWatchers) {
      send(response, Editor::error(503, "too many pages watch this project"));
      return;
    }
    stream(response, continueAfter(request, hub_.last()));
  });
}

bool WebServer::fromOwnOrigin(const Request& request) const {
  std::string port = std::to_string(port_);
  std::string host = request.get_header_value("Host");
  if (host != std::string(kLoopback) + ":" + port && host != "localhost:" + port) return false;
  if (!request.has_header("Origin")) return true;
  std::string origin = request.get_header_value("Origin");
  return origin == "http://" + host;
}

// The stream reads the hub only: the model stays with the requests that
// hold the editor's lock.
void WebServer::stream(Response& response, std::uint64_t since) {
  auto cursor = std::make_shared<std::uint64_t>(since);
  auto first = std::make_shared<bool>(true);
  std::shared_ptr<std::atomic<int>> watchers = watchers_;
  ++*watchers;
  EventHub* hub = &hub_;
  response.set_header("Cache-Control", "no-store");
  response.set_chunked_content_provider(
      "text/event-stream",
      [hub, cursor, first](std::size_t, httplib::DataSink& sink) {
        std::string text;
        if (*first) {
          text = "retry: 1000\n\n";
          *first = false;
        } else {
          std::vector<PushedEvent> events = hub->after(*cursor, kQuietPeriod);
          if (hub->closed()) {
            sink.done();
            return true;
          }
          text = events.empty() ? std::string(": quiet\n\n") : std::string();
          for (const PushedEvent& event : events) {
            text += eventText(event);
            *cursor = event.seq;
          }
        }
        return sink.write(text.data(), text.size());
      },
      [watchers](bool) { --*watchers; });
}

int WebServer::bind(int port) {
  if (port < 0 || port > 65535) throw HostError("There is no port " + std::to_string(port) + ".");
  bool bound = port == 0 ? (port = server_->bind_to_any_port(kLoopback)) > 0
                         : server_->bind_to_port(kLoopback, port);
  if (!bound)
    throw HostError("Can not listen on " + std::string(kLoopback) + ":" + std::to_string(port) +
                    ".");
  port_ = port;
  return port_;
}

void WebServer::run() {
  server_->listen_after_bind();
}

// A stop that comes before run() has started waits a little for it, so that
// run() does not start listening after the stop.
void WebServer::stop() {
  hub_.close();
  for (int waited = 0; !server_->is_running() && waited < 200; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  server_->stop();
}

std::string WebServer::address() const {
  return "http://" + std::string(kLoopback) + ":" + std::to_string(port_) + "/";
}

}  // namespace grhost::web
