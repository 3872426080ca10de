#include "registry/ConfigRegistryFormat.h"

#include "state/TextReaders.h"

namespace tolvane::registry {

ConfigRegistryText ParseConfigRegistry(const std::string& content) {
    ConfigRegistryText text;
    FieldReader reader(content);
    std::string field;
    if (!reader.next(field)) return text;
    text.hasCurrent = true;
    text.current = field;
    std::vector<std::string> fields;
    const auto flush = [&] {
        if (fields.empty()) return;
        fields.resize(4);
        text.records.push_back({fields[0], fields[1], fields[2], fields[3], 0});
        fields.clear();
    };
    while (reader.next(field)) {
        fields.push_back(field);
        if (fields.size() == 4) flush();
    }
    const int partial = static_cast<int>(fields.size());
    flush();
    for (ConfigRecord& r : text.records) r.fieldCount = 4;
    if (partial > 0) text.records.back().fieldCount = partial;
    return text;
}

const ConfigRecord* FindConfigRecord(const ConfigRegistryText& text, const std::string& name) {
    for (const ConfigRecord& r : text.records)
        if (EqualsIgnoringCase(r.name, name)) return &r;
    return nullptr;
}

std::string BuildConfigRegistry(const std::string* oldContent, const ConfigRecord& current) {
    std::string out = FieldLine({current.name});
    if (oldContent) {
        for (const ConfigRecord& r : ParseConfigRegistry(*oldContent).records) {
            // A final record cut short by the end of the file is dropped.
            if (r.fieldCount < 4 || EqualsIgnoringCase(r.name, current.name)) continue;
            out += FieldLine({r.name, r.serverCfg, r.actionIni, r.commandLine});
        }
    }
    out += FieldLine({current.name, current.serverCfg, current.actionIni, current.commandLine});
    return out;
}

}  // namespace tolvane::registry
