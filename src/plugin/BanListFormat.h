#pragma once
// server_bans.txt, the plug-in's ban list: one record a line, "Kind: value". Four kinds are the
// editor's (address, name, filter and name-at-address bans); every other line is the operator's
// and goes back out byte for byte, where it stood.
#include <string>
#include <vector>

namespace tolvane::plugin {

// The rows of the four ban grids, each in the file's order of its kind.
struct BanLists {
    std::vector<std::string> ip;      // a blank, then the value ("IP: - 1.2.3.4/32" -> " - 1.2.3.4/32")
    std::vector<std::string> name;
    std::vector<std::string> filter;
    std::vector<std::string> alias;
    bool operator==(const BanLists&) const = default;
};

BanLists ParseBanList(const std::string& content);

// The new file: each kind's rows stand where the old file's first entry of that kind stood
// (its other entries are dropped); kinds the old file lacked are appended in the order IP,
// Name, Filter, Alias. Lines end with CR LF.
std::string BuildBanList(const BanLists& lists, const std::string& oldContent);

}  // namespace tolvane::plugin
