#include "Global.h"

#include "vrelIniFile.h"

#include <QCoreApplication>
#include <QFileInfo>

QStringList UserGroupNames;
QStringList MenuGroupNames;
int DefaultPermission = 65535;
QString DefaultMenuGroup;

namespace {

const QString kPermition = QStringLiteral("PERMITION");
const QString kGroups = QStringLiteral("GROUPS");

QString gSettingsFileName;

// "NAME" + i with at least two digits: NAME01, NAME10, NAME100.
QString numberedKey(const char *stem, int i)
{
    return QString::fromLatin1(stem) + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
}

QString defaultUserGroupName(int i)
{
    return QStringLiteral("Level %1").arg(i);
}

int clampedCount(qint64 count)
{
    // A count is a number of keys to read; anything beyond a few thousand is a
    // damaged file, not a list of groups.
    return int(qBound<qint64>(0, count, qint64(9999)));
}

} // namespace

QString SettingsFileName()
{
    if (!gSettingsFileName.isEmpty())
        return gSettingsFileName;
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return program.path() + u'/' + program.completeBaseName() + QStringLiteral(".INI");
}

void SetSettingsFileName(const QString &fileName)
{
    gSettingsFileName = fileName;
}

void LoadSettings()
{
    UserGroupNames.clear();
    MenuGroupNames.clear();
    const TVrelIniFile ini(SettingsFileName());

    DefaultPermission = int(ini.ReadInteger(kPermition, QStringLiteral("DEFAULT"), 65535));
    const int names = clampedCount(ini.ReadInteger(kPermition, QStringLiteral("COUNT"), kUserGroupCount));
    for (int i = 1; i <= names; ++i)
        UserGroupNames.append(ini.ReadString(kPermition, numberedKey("NAME", i), defaultUserGroupName(i)));
    // The dialogs name all sixteen groups of a mask, also when the file lists fewer.
    for (int i = int(UserGroupNames.size()) + 1; i <= kUserGroupCount; ++i)
        UserGroupNames.append(defaultUserGroupName(i));

    DefaultMenuGroup = ini.ReadString(kGroups, QStringLiteral("DEFAULT"), QString());
    const int groups = clampedCount(ini.ReadInteger(kGroups, QStringLiteral("COUNT"), 0));
    for (int i = 1; i <= groups; ++i)
        MenuGroupNames.append(ini.ReadString(kGroups, numberedKey("GROUP", i), QString()));
}

void SaveSettings()
{
    TVrelIniFile ini(SettingsFileName());
    ini.WriteInteger(kPermition, QStringLiteral("DEFAULT"), DefaultPermission);
    ini.WriteInteger(kPermition, QStringLiteral("COUNT"), UserGroupNames.size());
    for (int i = 1; i <= UserGroupNames.size(); ++i)
        ini.WriteString(kPermition, numberedKey("NAME", i), UserGroupNames.at(i - 1));
    ini.UpdateFile();
}

QFont EditorFont()
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("굴림체"),
                                   {QStringLiteral("NanumGothicCoding"), QStringLiteral("NanumGothic"),
                                    QStringLiteral("Noto Sans Mono CJK KR"), QStringLiteral("UnDotum")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
