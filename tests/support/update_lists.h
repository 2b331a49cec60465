// Update lists for the tests, signed with the private test key in tests/upfetch/keys/ (the
// key the test build of libUpfetch trusts).
#pragma once

#include <string>
#include <vector>

struct TestUpdate {
  std::string version;
  std::string url;        // as written in the list; relative ones resolve against the list
  std::string installer;  // the bytes the size and SHA-256 are taken from
  std::vector<std::string> notes;
};

// The path the library asks for, for the brand "Pellavorne".
constexpr const char* kTestListPath = "/update/Pellavorne/update-list.txt";

std::string Sha256Hex(const std::string& bytes);
std::string UpdateListBody(const std::vector<TestUpdate>& updates,
                           const std::string& brand = "Pellavorne");
// The signature line for `body`, then `body`.
std::string SignList(const std::string& body);
