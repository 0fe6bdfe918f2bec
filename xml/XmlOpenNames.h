// The names of the elements open during a parse, indexed so that an end tag that no open element can
// answer to is recognised without walking the whole stack. Without it, every such stray end tag costs
// the depth of the stack, and a document of n open elements followed by n stray end tags costs n
// squared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace xml {

class XmlOpenNames {
public:
    explicit XmlOpenNames(bool ignoreCase);

    // `name` is a view of the document text and must stay valid while it is in the index.
    void Add(std::u16string_view name) { ++counts_[Key{name, Hash(name)}]; }
    void Remove(std::u16string_view name);

    // Whether an open element's name matches the end tag `endTagName` by the name rule (the element's
    // name is the whole end tag name or a part of it followed by a space, '=', '/', '[' or ']'). The
    // names themselves are compared: two names with the same hash do not answer for each other, so a
    // document cannot make stray end tags walk the stack by choosing names whose hashes collide.
    bool Matches(std::u16string_view endTagName) const;

private:
    struct Key {
        std::u16string_view name;
        uint64_t hash;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept { return static_cast<std::size_t>(key.hash); }
    };
    struct KeyEqual {
        bool ignoreCase;
        bool operator()(const Key& a, const Key& b) const;
    };

    uint64_t Hash(std::u16string_view name) const;
    bool Contains(std::u16string_view name, uint64_t hash) const { return counts_.count(Key{name, hash}) != 0; }

    bool ignoreCase_;
    std::unordered_map<Key, uint32_t, KeyHash, KeyEqual> counts_;
};

}  // namespace xml
