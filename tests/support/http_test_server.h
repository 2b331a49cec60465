// A small HTTP/1.1 server on 127.0.0.1 for the update tests, on threads of the test program:
// it serves fixed answers by path and can misbehave on purpose (drop the connection, hold
// the body half-way until the test lets it go, send a wrong status).
#pragma once

#include <winsock2.h>  // before windows.h, which it includes

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestHttpServer {
 public:
  struct Response {
    int status = 200;
    std::string body;
    bool send_length = true;  // a Content-Length header
    // After this many body bytes the connection is reset; -1 sends everything.
    int64_t drop_after = -1;
    // After this many body bytes the answer waits for Release(); -1 never waits.
    int64_t hold_after = -1;
  };

  TestHttpServer();  // listening on a free port when it returns
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  bool listening() const { return port_ != 0; }
  int port() const { return port_; }
  std::string Root() const;  // "http://127.0.0.1:<port>/"

  // Answers requests for `path` (the part before any "?"); other paths get 404.
  void Serve(const std::string& path, const Response& response);
  // Lets every held answer go on, now and later.
  void Release();
  // True once an answer has stopped at its hold point.
  bool WaitUntilHeld(DWORD timeout_ms = 30000);
  // Request targets ("/path?query") in arrival order.
  std::vector<std::string> Requests() const;

 private:
  void AcceptLoop();
  void Answer(uintptr_t connection);

  uintptr_t listener_;
  int port_ = 0;
  std::thread acceptor_;
  std::vector<std::thread> connections_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::map<std::string, Response> responses_;
  std::vector<std::string> requests_;
  bool released_ = false;
  bool held_ = false;
  bool stopping_ = false;
};
