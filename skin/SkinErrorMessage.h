// The message box a skinned page shows when its skin cannot be applied (for example a mask that gives
// no outline). Tests and headless runs replace it with a hook.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace skin {

using ErrorMessageHook = std::function<void(QWidget* owner, const QString& text)>;

// Replaces the message box by `hook` (an empty hook restores the message box). Returns the previous hook.
ErrorMessageHook SetErrorMessageHook(ErrorMessageHook hook);

// A message box with `text`, an OK button and the application's name as caption, modal to `owner`;
// or the hook, when one is set.
void ShowErrorMessage(QWidget* owner, const QString& text);

}  // namespace skin
