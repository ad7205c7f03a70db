// Writes the schemas of the configuration language, generated from the
// reader's own tables: hesk_config_schema XSD_PATH RELAX_NG_PATH.
#include <fstream>
#include <iostream>

#include "schema/reader_walk.h"
#include "schema/relax_ng_writer.h"
#include "schema/xsd_writer.h"

namespace {

bool writeFile(const char* path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (out) return true;
  std::cerr << "hesk_config_schema: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: hesk_config_schema XSD_PATH RELAX_NG_PATH\n";
    return 2;
  }
  app_core::schema::ElementShape root = app_core::schema::walkReader();
  bool written = writeFile(argv[1], app_core::schema::writeXsd(root)) &&
                 writeFile(argv[2], app_core::schema::writeRelaxNg(root));
  return written ? 0 : 1;
}
