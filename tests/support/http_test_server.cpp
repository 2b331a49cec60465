#include "http_test_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace {

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

bool SendAll(SOCKET socket, const char* data, size_t size) {
  while (size > 0) {
    const int sent = ::send(socket, data, static_cast<int>(size > 65536 ? 65536 : size), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

// The request target of "GET /path?query HTTP/1.1"; empty when the head never completes.
std::string ReadRequestTarget(SOCKET socket) {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384) {
    const int got = ::recv(socket, buffer, sizeof(buffer), 0);
    if (got <= 0) return std::string();
    head.append(buffer, static_cast<size_t>(got));
  }
  const size_t start = head.find(' ');
  const size_t end = start == std::string::npos ? start : head.find(' ', start + 1);
  return end == std::string::npos ? std::string() : head.substr(start + 1, end - start - 1);
}

}  // namespace

TestHttpServer::TestHttpServer() : listener_(INVALID_SOCKET) {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof(address);
  if (listener == INVALID_SOCKET ||
      ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener, 16) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (listener != INVALID_SOCKET) ::closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread(&TestHttpServer::AcceptLoop, this);
}

TestHttpServer::~TestHttpServer() {
  {
    std::lock_guard<std::mutex> lock(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (listener_ != INVALID_SOCKET) ::closesocket(static_cast<SOCKET>(listener_));
  if (acceptor_.joinable()) acceptor_.join();
  for (auto& connection : connections_) connection.join();
  ::WSACleanup();
}

std::string TestHttpServer::Root() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void TestHttpServer::Serve(const std::string& path, const Response& response) {
  std::lock_guard<std::mutex> lock(lock_);
  responses_[path] = response;
}

void TestHttpServer::Release() {
  {
    std::lock_guard<std::mutex> lock(lock_);
    released_ = true;
  }
  changed_.notify_all();
}

bool TestHttpServer::WaitUntilHeld(DWORD timeout_ms) {
  std::unique_lock<std::mutex> lock(lock_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return held_; });
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(lock_);
  return requests_;
}

void TestHttpServer::AcceptLoop() {
  for (;;) {
    const SOCKET connection = ::accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (connection == INVALID_SOCKET) return;  // the listener was closed
    std::lock_guard<std::mutex> lock(lock_);
    if (stopping_) {
      ::closesocket(connection);
      return;
    }
    connections_.emplace_back(&TestHttpServer::Answer, this, static_cast<uintptr_t>(connection));
  }
}

void TestHttpServer::Answer(uintptr_t handle) {
  const SOCKET socket = static_cast<SOCKET>(handle);
  const std::string target = ReadRequestTarget(socket);
  Response response;
  response.status = 404;
  {
    std::lock_guard<std::mutex> lock(lock_);
    requests_.push_back(target);
    auto found = responses_.find(target.substr(0, target.find('?')));
    if (found != responses_.end()) response = found->second;
  }
  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                     Reason(response.status) + "\r\nConnection: close\r\n";
  if (response.send_length) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  head += "Content-Type: application/octet-stream\r\n\r\n";

  size_t first = response.body.size();
  if (response.hold_after >= 0) first = static_cast<size_t>(response.hold_after);
  if (response.drop_after >= 0 && static_cast<size_t>(response.drop_after) < first) {
    first = static_cast<size_t>(response.drop_after);
  }
  if (first > response.body.size()) first = response.body.size();
  bool sent = SendAll(socket, head.data(), head.size()) &&
              SendAll(socket, response.body.data(), first);
  if (sent && response.hold_after >= 0) {
    std::unique_lock<std::mutex> lock(lock_);
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_ || stopping_; });
  }
  const size_t end = response.drop_after >= 0
                         ? std::min(response.body.size(), static_cast<size_t>(response.drop_after))
                         : response.body.size();
  if (sent && end > first) SendAll(socket, response.body.data() + first, end - first);
  if (response.drop_after >= 0) {
    // A reset, not an orderly close: the client sees the connection break mid-body.
    linger hard = {1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof(hard));
  } else {
    ::shutdown(socket, SD_SEND);
  }
  ::closesocket(socket);
}
