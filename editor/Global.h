// The editor's settings: the names of the sixteen user groups, the default
// permission mask, the menu groups and the default menu group, kept in a
// profile file beside the program and read once at start.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Process-wide settings values, filled by LoadSettings.
extern QStringList UserGroupNames;   // [PERMITION] NAME01...: always at least sixteen names
extern QStringList MenuGroupNames;   // [GROUPS] GROUP01...
extern int DefaultPermission;        // [PERMITION] DEFAULT
extern QString DefaultMenuGroup;     // [GROUPS] DEFAULT

// Number of user groups a permission mask covers.
constexpr int kUserGroupCount = 16;

// The settings file: the program's name with ".INI", in the program's folder.
// Tests and special installations may point it elsewhere; an empty name
// returns to the file beside the program.
QString SettingsFileName();
void SetSettingsFileName(const QString &fileName);

// Fills the four values from the settings file; a missing or unreadable file
// gives the defaults (Level 1 to Level 16, 65535, no menu groups).
void LoadSettings();
// Writes [PERMITION] DEFAULT, COUNT and NAME01... atomically; other keys stay.
// Raises EIniFileException "Unable to write to %s" when the file cannot be written.
void SaveSettings();

// The editor's window font: 굴림체 at 12 pixels, with a Korean fixed-pitch
// font standing in where 굴림체 is not installed.
QFont EditorFont();
