// The platform's application tied to Qt's: queued platform messages are
// delivered and invalidated controls painted whenever Qt's event loop is
// about to wait; a modal platform loop (the map control's MouseBox) waits
// in Qt's loop for the user's input; pictures the controls put on the
// platform's clipboard go on the desktop's.
#pragma once

namespace lumivar_qt {

// Idempotent; needs a QGuiApplication (every ControlHost calls it). Undone
// when the application object is destroyed.
void ConnectPlatformToQt();

// Delivers the platform's queued messages, paints the controls that asked
// for it and lets every host follow its controls' layout and cursor: what
// Qt's loop does before it waits. Hosts call it after each input they hand
// on; a test or an application may call it to see the result at once.
void ProcessPlatformMessages();

}  // namespace lumivar_qt
