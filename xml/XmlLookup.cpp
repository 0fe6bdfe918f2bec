#include "XmlDocument.h"

namespace xml {

namespace {

// Enters the first `section` under the root and looks for `key` in it; when the section lacks the
// key, goes on with the first element named `section` inside it, and so on.
bool FindKey(CXmlDocument& document, std::u16string_view section, std::u16string_view key) {
    document.Rewind();
    for (;;) {
        if (!document.FindChild(section)) return false;
        document.Descend();
        if (document.FindChild(key)) return true;
    }
}

}  // namespace

std::u16string LookupValue(CXmlDocument& document, std::u16string_view section, std::u16string_view key) {
    return FindKey(document, section, key) ? document.ChildText() : std::u16string();
}

std::u16string LookupAttribute(CXmlDocument& document, std::u16string_view section, std::u16string_view key,
                               std::u16string_view attribute) {
    return FindKey(document, section, key) ? document.ChildAttribute(attribute) : std::u16string();
}

}  // namespace xml
