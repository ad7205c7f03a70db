#include "cli/usage_text.h"

namespace app_core::command_line_options {

const char* const kUsageText = R"USAGE(Usage:
  hesk_config <command> <options>
  <command> ::= help | compile | export | import
  <option> ::= --<long_name>=<value> | -<short_name> <value>

Commands:
  help - produce help message

  compile - VORN config compilation (xml -> *.kvdb + *.vsm)
  Parameters (required):
    --settings    - settings database path (data will be appended)
    --storage     - storage database path (data will be appended)
    --xml(-x)     - input xml file path (multiple values allowed;
                    you can specify this option many times for every file you need
                    or you may list several files with ';' delimiter by one parameter)
    --vsm(-e)     - output vsm file path (data will be appended)
    --product(-p) - product filter
    --define(-d)  - preprocessor definition (multiple values allowed)

  Parameters (optional):
    --target-category(-c) - updatable category configuration to include
    --quarn-config(-g)   - output 'profiles.xml' or 'ppp.reg|HKEY_LOCAL_MACHINE\Software\Brightfold\WXQ16.0.0.1' file (data will be appended)

  export          - export operation (key-value -> XML)
  Parameters (required):
    --xml(-x)     - output xml file path (multiple values allowed)
    --db(-b)      - input database path

  import          - import operation (XML -> key-value)
  Parameters (required):
    --xml(-x)     - input xml file path (multiple values allowed)
    --db(-b)      - output database path

  pack            - pack operation (many XML files -> one XML file)
  Parameters (required):
    --xml(-x)     - input xml file path (multiple values allowed)
    --out(-o)     - output xml path

  preprocess      - preprocess operation (many XML files -> one preprocessed XML file)
  Parameters (required):
    --xml(-x)     - input xml file path (multiple values allowed)
    --out(-o)     - output xml path
    --product(-p) - product filter
    --define(-d)  - preprocessor definition (multiple values allowed)

Common parameters:
  --trace             - trace file path
  --message-level(-m) - console output verbosity
                        (0 - nothing, 1 - errors only, 2 - errors and warnings, 3 - everything)

Examples:
  compile -p QPX -x app_core.xml --settings=kvdb/settings.kvdb --storage=kvdb/storage.kvdb -e app_core.vsm
  export --db=kvdb/settings.kvdb -x settings.xml
  import -x storage.xml --db=kvdb/storage.kvdb
  pack -x a.xml;b.xml;c.xml;d.xml -o packed.xml
)USAGE";

}  // namespace app_core::command_line_options
