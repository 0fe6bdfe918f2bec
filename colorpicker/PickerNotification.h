// The notification the picker's windows send one another and the page when their value changes:
// window message 1294 (WM_USER + 270), wParam the sender's control identifier, lParam the address of a
// PickerNotification that is valid only while the message is being handled.
#pragma once

#include <cstdint>

class QEvent;
class QObject;
class QWidget;

namespace colorpicker {

constexpr std::uint32_t kPickerChangedMessage = 1294;

// The fixed control identifiers of the LED page's picker windows.
constexpr int kColorFieldId = 2000;
constexpr int kColorBarId = 2001;
constexpr int kColorWellId = 2002;

struct PickerNotification {
    QWidget* sender = nullptr;
    int senderId = 0;
    int value = 0;  // the colour (0x00BBGGRR) from a field, the marker value from a bar
};

// Sends the notification {sender, senderId, value} to `receiver` and returns its handler's answer.
// A sender whose control identifier is 0 sends nothing (answer 0), as does a missing receiver.
std::intptr_t SendPickerNotification(QObject* receiver, QWidget* sender, int senderId, int value);

// The record of a picker notification, or nullptr when the event is something else.
const PickerNotification* AsPickerNotification(QEvent* event);

}  // namespace colorpicker
