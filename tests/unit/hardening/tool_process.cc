#include "tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace hardening {

namespace {

pid_t startToolLimited(const std::vector<std::string>& arguments, int kilobytes) {
  std::vector<char*> argv;
  std::string program = "hesk_config";
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    if (kilobytes >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit limit{static_cast<rlim_t>(kilobytes) * 1024, static_cast<rlim_t>(kilobytes) * 1024};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(HESK_BINARY, argv.data());
    ::_exit(127);
  }
  return child;
}

}  // namespace

pid_t startTool(const std::vector<std::string>& arguments) { return startToolLimited(arguments, -1); }

int runToolOnFullDisk(const std::vector<std::string>& arguments, int kilobytes) {
  return waitTool(startToolLimited(arguments, kilobytes));
}

int waitTool(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

int runTool(const std::vector<std::string>& arguments) { return waitTool(startTool(arguments)); }

DatabaseDump dumpDatabase(const std::string& path) {
  DatabaseDump dump;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    dump.integrity = std::string("cannot open: ") + sqlite3_errmsg(db);
    sqlite3_close(db);
    return dump;
  }
  sqlite3_busy_timeout(db, 20000);
  auto each = [&](const char* sql, auto&& row) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
      dump.integrity = std::string("cannot read: ") + sqlite3_errmsg(db);
      return;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) row(statement);
    sqlite3_finalize(statement);
  };
  auto text = [](sqlite3_stmt* statement, int column) {
    const void* bytes = sqlite3_column_blob(statement, column);
    return std::string(static_cast<const char*>(bytes ? bytes : ""), sqlite3_column_bytes(statement, column));
  };
  each("PRAGMA integrity_check", [&](sqlite3_stmt* s) { dump.integrity += text(s, 0); });
  // A file killed before its table was made holds no records.
  bool hasTable = false;
  each("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'storage'",
       [&](sqlite3_stmt*) { hasTable = true; });
  if (hasTable) {
    each("SELECT keylob, valuelob FROM storage",
         [&](sqlite3_stmt* s) { dump.rows.push_back(text(s, 0) + "=" + text(s, 1)); });
  }
  sqlite3_close(db);
  std::sort(dump.rows.begin(), dump.rows.end());
  return dump;
}

void writeExchangeFile(const std::string& path, int first, int count, const std::string& tag,
                       const std::string& prefix) {
  std::ofstream out(path, std::ios::binary);
  out << "<root>\n<compiler version=\"1.10.19.0\" />\n";
  for (int i = first; i < first + count; ++i) {
    out << "<key name=\"" << prefix << i << "\"><root tag=\"" << tag << "\" n=\"" << i << "\"><c>text " << i
        << "</c></root></key>\n";
  }
  out << "</root>\n";
}

std::string exchangeRow(const std::string& prefix, int n, const std::string& tag) {
  std::string number = std::to_string(n);
  return prefix + number + "=<root tag=\"" + tag + "\" n=\"" + number + "\">\r\n    <c>text " + number +
         "</c>\r\n</root>\r\n";
}

std::string writeConfiguration(const std::string& folder, int services) {
  std::string generator = HESK_SOURCE_DIR "/bench/gen_config.py";
  std::string command = "python3 '" + generator + "' '" + folder + "' --scale " +
                        std::to_string(services / 10000.0) + " >/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot run " + generator);
  return folder + "/main.xml";
}

int roundsOr(int fallback) {
  const char* rounds = std::getenv("HESK_CRASH_ROUNDS");
  return rounds && std::atoi(rounds) > 0 ? std::atoi(rounds) : fallback;
}

}  // namespace hardening
