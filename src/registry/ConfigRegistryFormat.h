#pragma once
// tolvane.ini as text: line 1 names the current configuration, every further line is a record
// of four quoted fields (name, server settings file, mod settings file, command line); the
// current record is always last. Readers take the text as a stream of fields, so line
// boundaries only end fields. ConfigRegistry is the file shell around this.
#include <string>
#include <vector>

namespace tolvane::registry {

struct ConfigRecord {
    std::string name;
    std::string serverCfg;
    std::string actionIni;
    std::string commandLine;
    // How many of the four fields the text held: fewer only for a last record cut short by the
    // end of the text. The fields it lacks are empty and must not be applied.
    int fieldCount = 4;
    bool operator==(const ConfigRecord&) const = default;
};

struct ConfigRegistryText {
    bool hasCurrent = false;  // false when the text holds no field at all
    std::string current;      // the first field: the current configuration's name
    std::vector<ConfigRecord> records;
};

ConfigRegistryText ParseConfigRegistry(const std::string& content);

// The first record whose name equals name ignoring case (complete or not), or nullptr.
const ConfigRecord* FindConfigRecord(const ConfigRegistryText& text, const std::string& name);

// The new text: line 1 names the current record; then every complete record of the old text
// whose name differs from the current one ignoring case, unchanged and in order; then the
// current record. oldContent is null when there is no old file.
std::string BuildConfigRegistry(const std::string* oldContent, const ConfigRecord& current);

}  // namespace tolvane::registry
