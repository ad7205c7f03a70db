#include "document_check.h"

#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "console/storage_error_reporter_proxy.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/xml_storage_factory.h"

namespace hesk_fuzz {

velk::Ref<app_core::helpers::IXmlFileStorage> readBack(const std::string& path) {
  static velk::IXmlStorageFactory* factory = velk::make<velk::XmlStorageFactory>().detach();
  auto counter = velk::make<app_core::helpers::StorageErrorReporterProxy>(nullptr);
  auto root = app_core::helpers::openXmlFile(factory, path, counter.get(), nullptr);
  if (counter->errorCount() != 0) return {};
  return root;
}

void propertyFails(const std::string& what) {
  std::fprintf(stderr, "==%d== property failed: %s\n", 0, what.c_str());
  std::abort();
}

namespace {

void setProcessorTimer(time_t seconds) {
  itimerval timer{};
  timer.it_value.tv_sec = seconds;
  setitimer(ITIMER_PROF, &timer, nullptr);
}

void onProcessorTimeSpent(int) {
  static const char kMessage[] = "==0== property failed: the input took more than a second of processor time\n";
  ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)ignored;
  std::abort();
}

}  // namespace

ProcessorTimeLimit::ProcessorTimeLimit() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = onProcessorTimeSpent;
    return sigaction(SIGPROF, &action, nullptr) == 0;
  }();
  (void)installed;
  setProcessorTimer(1);
}

ProcessorTimeLimit::~ProcessorTimeLimit() { setProcessorTimer(0); }

}  // namespace hesk_fuzz
