#include "SkinDocuments.h"

namespace skindocs {

std::string g_programDir;

namespace {

struct Documents {
    xml::CXmlDocument skin;
    xml::CXmlDocument strings;
    xml::CXmlDocument buttons;
};

Documents& All() {
    static Documents documents;
    return documents;
}

}  // namespace

xml::CXmlDocument& SkinDocument() { return All().skin; }
xml::CXmlDocument& StringDocument() { return All().strings; }
xml::CXmlDocument& ButtonDocument() { return All().buttons; }

void ResetSkinDocuments() {
    All() = Documents{};
    g_programDir.clear();
}

}  // namespace skindocs
