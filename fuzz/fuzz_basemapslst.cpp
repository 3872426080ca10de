// Reads any bytes as the base game's map list (baseq2\maps.lst) into the available maps beside a
// rotation: nothing may crash, and the maps added must be those the plain procedure adds (each
// non-empty name that no rotation row, available row or earlier name stands for, tag -1).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "FuzzSupport.h"
#include "maps/MapIndex.h"
#include "maps/MapsLstFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane::maps;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = BaseMapListNames(input);

    static MapFields maps;
    maps.MapIni.setRows({{"q2dm1*", 1}, {"base1", 0}});
    maps.MapDir.setRows({{"harbor*", 1}, {"depot", -1}});
    // The plain procedure: each name looked up in both grids as they grow.
    std::vector<tolvane::form::GridRow> expected = maps.MapDir.rows();
    for (const auto& name : names) {
        if (name.empty()) continue;
        bool found = false;
        for (const std::vector<tolvane::form::GridRow>* rows : {&maps.MapIni.rows(), &std::as_const(expected)})
            for (const auto& row : *rows) found = found || MapKey(row.text) == name;
        if (!found) expected.push_back({name, -1});
    }
    AddUnlistedMaps(maps, names);
    if (maps.MapDir.rows() != expected) {
        std::fprintf(stderr, "the maps added differ from the plain procedure's\n");
        std::abort();
    }
    return 0;
}
