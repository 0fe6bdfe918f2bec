// The names of the elements open during a parse, kept as hashes so that an end tag that no open
// element can answer to is recognised without walking the whole stack. Without it, every such stray
// end tag costs the depth of the stack, and a document of n open elements followed by n stray end tags
// costs n squared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace xml {

class XmlOpenNames {
public:
    explicit XmlOpenNames(bool ignoreCase) : ignoreCase_(ignoreCase) {}

    void Add(std::u16string_view name) { ++counts_[Hash(name)]; }
    void Remove(std::u16string_view name);

    // False only when no open element's name can match the end tag `endTagName` by the name rule (the
    // element's name is the whole end tag name or a part of it followed by a space, '=', '/', '[' or
    // ']'). True means "maybe": equal hashes of different names only cost a walk of the stack.
    bool MayMatch(std::u16string_view endTagName) const;

private:
    uint64_t Hash(std::u16string_view name) const;

    bool ignoreCase_;
    std::unordered_map<uint64_t, uint32_t> counts_;
};

}  // namespace xml
