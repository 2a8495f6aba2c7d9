// `grtool serve`: the editor's HTTP server, on the loopback address only. It
// serves the page's static files, answers the page's queries and gestures
// through the Editor, and pushes every outcome to every watching page as
// server-sent events. A request whose Host or Origin is not the server's own
// loopback address is refused with 403, so that no other site the browser
// visits can drive the editor.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace grhost::web {

class Editor;
class EventHub;

class WebServer {
 public:
  // At most this many pages watch at once; each holds a connection.
  static constexpr int kMaxWatchers = 16;

  WebServer(Editor& editor, EventHub& hub, std::filesystem::path webFolder);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds to 127.0.0.1:PORT (0: a free port) and returns the port; throws
  // HostError when the port can not be had.
  int bind(int port);
  // Serves until stop() (from any thread).
  void run();
  void stop();
  std::string address() const;

 private:
  void addRoutes();
  bool fromOwnOrigin(const httplib::Request& request) const;
  void stream(httplib::Response& response, std::uint64_t since);

  Editor& editor_;
  EventHub& hub_;
  std::filesystem::path webFolder_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  std::shared_ptr<std::atomic<int>> watchers_;
};

}  // namespace grhost::web
