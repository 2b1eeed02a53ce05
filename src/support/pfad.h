#pragma once
// Joining and splitting paths. A path is a byte string: nothing here
// normalises, decodes or resolves it; only the one "/" between two parts is
// looked after. As a base, "" stands for the root, as the engine's paths
// below a base do ("" for the base itself, then "/a", "/a/b").

#include <string>
#include <string_view>

namespace tarvendo {

// basis, "/" and relativ, with exactly one "/" where they meet: a basis that
// ends in "/" (the root "/") and a relativ that starts with one share it, so
// neither "/" with "/a" nor "/" with "a" gives "//a". An empty basis gives
// "/relativ"; an empty relativ gives basis as it is.
[[nodiscard]] std::string verbinde(std::string_view basis, std::string_view relativ);

// The same in place: pfad becomes verbinde(pfad, relativ). A caller that
// cuts pfad back to its old length afterwards allocates once per depth.
void hänge_an(std::string& pfad, std::string_view relativ);

// What comes before the last "/": "" for "/a" (the root, as above) and for a
// path without any "/".
[[nodiscard]] std::string_view elternpfad(std::string_view pfad);

// What comes after the last "/"; the whole path when it has none.
[[nodiscard]] std::string_view letzter_name(std::string_view pfad);

}  // namespace tarvendo
