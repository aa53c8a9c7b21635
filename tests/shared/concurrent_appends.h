// Many writers appending records to one file at the same moment, as the computers of an office
// logging on append to one log on a share; and the check that every record arrived whole, once.
#pragma once

#include <atomic>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vemo::testing {

// A record of fields separated by tabs, as a log line is: a writer that writes a field at a
// time would let another's record in between.
inline std::string AppendedRecord(int writer, int record) {
  return "writer=" + std::to_string(writer) + "\trecord=" + std::to_string(record) + "\t" +
         std::string(100, static_cast<char>('a' + writer)) + "\n";
}

// `writers` threads, released together, each append `records` records through `append`; the
// number of appends that raised.
inline int AppendAtOnce(int writers, int records,
                        const std::function<void(const std::string&)>& append) {
  std::atomic<bool> go{false};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int writer = 0; writer < writers; ++writer) {
    threads.emplace_back([&, writer] {
      while (!go) std::this_thread::yield();
      for (int record = 0; record < records; ++record) {
        try {
          append(AppendedRecord(writer, record));
        } catch (...) {
          ++failures;
        }
      }
    });
  }
  go = true;
  for (std::thread& thread : threads) thread.join();
  return failures;
}

// What is wrong with `written`: the first line that is no whole record, or a record missing or
// written twice; empty when every record of AppendAtOnce is there once and whole.
inline std::string WrongWithAppends(const std::string& written, int writers, int records) {
  std::set<std::pair<int, int>> seen;
  std::size_t at = 0;
  while (at < written.size()) {
    const std::size_t end = written.find('\n', at);
    const std::string line = written.substr(at, end == std::string::npos ? end : end + 1 - at);
    at = end == std::string::npos ? written.size() : end + 1;
    int writer = -1;
    int record = -1;
    const bool whole = std::sscanf(line.c_str(), "writer=%d\trecord=%d", &writer, &record) == 2 &&
                       writer >= 0 && writer < writers && line == AppendedRecord(writer, record) &&
                       seen.emplace(writer, record).second;
    if (!whole) return "torn or doubled: " + line;
  }
  if (seen.size() != static_cast<std::size_t>(writers * records)) {
    return std::to_string(writers * records - static_cast<int>(seen.size())) + " records lost";
  }
  return "";
}

}  // namespace vemo::testing
