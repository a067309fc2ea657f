#pragma once
#include <QIcon>
#include <QString>

// The picture of a main-window command on its menu item and tool button, by the command's
// component name ("MenuItemProjectOpen"); an empty icon for a command without one. The
// pictures come from the style, so they follow the desktop's look.
QIcon CommandIcon(const QString& name);

// The program's own picture, on every window's title bar and task-bar entry (the test windows'
// included): a white sheet with a tick on a blue square, drawn here so that it needs no file.
QIcon ProgramIcon();
