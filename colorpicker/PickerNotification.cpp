#include "PickerNotification.h"

#include "WindowMessage.h"

namespace colorpicker {

std::intptr_t SendPickerNotification(QObject* receiver, QWidget* sender, int senderId, int value) {
    if (senderId == 0 || receiver == nullptr) {
        return 0;
    }
    // The record lives on this stack frame: a sent message is handled before the send returns.
    const PickerNotification record{sender, senderId, value};
    return platform::SendWindowMessage(receiver, kPickerChangedMessage, static_cast<std::uintptr_t>(senderId),
                                       reinterpret_cast<std::intptr_t>(&record));
}

const PickerNotification* AsPickerNotification(QEvent* event) {
    const platform::WindowMessageEvent* message = platform::AsWindowMessage(event);
    if (message == nullptr || message->Message() != kPickerChangedMessage || message->LParam() == 0) {
        return nullptr;
    }
    return reinterpret_cast<const PickerNotification*>(message->LParam());
}

}  // namespace colorpicker
