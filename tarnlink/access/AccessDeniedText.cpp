#include "AccessDeniedText.h"

namespace tarnlink {

std::string accessDeniedText(const std::vector<DeniedController>& denied) {
    if (denied.empty()) return {};
    std::string nodes;
    for (const DeniedController& controller : denied) {
        if (!nodes.empty()) nodes += ", ";
        nodes += controller.node;
        if (controller.bootLoader()) nodes += " in its boot loader";
    }
    std::string text = "A lighting controller was found (" + nodes + "), but access to it was denied.\n";
    text += "To allow access, install the udev rule ";
    text += kUdevRuleName;
    text += " into ";
    text += kUdevRuleFolder;
    text += " (the package does this), then unplug the controller and plug it in again.\n";
    text += "The rule gives access to the user at the computer's own screen; for a remote session (for example "
            "over SSH), add your user to the group ";
    text += kAccessGroup;
    text += " (sudo adduser $USER ";
    text += kAccessGroup;
    text += ") and log in again.";
    return text;
}

std::string controllerAccessDeniedText() { return accessDeniedText(findDeniedControllers()); }

}  // namespace tarnlink
