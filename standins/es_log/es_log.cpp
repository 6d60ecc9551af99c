// The logging library stand-in ES_LOG: eslog_logEventV2 appends each line, with its client's
// name, to the log file named by ES_LOG_FILE (or by the "LogFile" setting under
// Software\Halvorn\ES_LOG), and answers state 2 while logging is wanted. Without a log file it
// answers state 1, and the client switches itself off.
//
// One line per event: the client name, a tab, and the text with backslash, tab, carriage return
// and line feed written as \\, \t, \r and \n.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "eslog/es_log_file.h"
#include "platform/settings_store.h"
#include "platform/export_macros.h"

namespace {

std::mutex fileMutex;

std::string LogFile() {
  if (const char* file = std::getenv("ES_LOG_FILE"); file && *file) return file;
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, "Software\\Halvorn\\ES_LOG", "LogFile")
      .value_or("");
}

} // namespace

GRX_MODULE_EXPORT std::int32_t eslog_logEventV2(const char* clientName, const char* text, void* clientRecord) {
  const std::string file = LogFile();
  std::uint32_t state = 1;
  if (!file.empty() && clientName && text) {
    std::lock_guard lock(fileMutex);
    if (FILE* f = std::fopen(file.c_str(), "a")) {
      std::fprintf(f, "%s\t%s\n", clientName, eslog::EscapeText(text).c_str());
      std::fclose(f);
      state = 2;
    }
  }
  if (clientRecord) {
    __atomic_store_n(static_cast<std::uint32_t*>(clientRecord), state, __ATOMIC_SEQ_CST);
  }
  return 0;
}
