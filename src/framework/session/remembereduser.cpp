#include "remembereduser.h"

#include <QSettings>

bool RememberedUser::prefill() const
{
    return remember.isEmpty() || remember == QLatin1String("True");
}

RememberedUser RememberedUser::read()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvan"),
                       QStringLiteral("Servers"));
    return {settings.value(QStringLiteral("USER")).toString(),
            settings.value(QStringLiteral("REMEMBER")).toString()};
}

void RememberedUser::write(const QString &user, bool remember)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvan"),
                       QStringLiteral("Servers"));
    settings.setValue(QStringLiteral("USER"), user);
    settings.setValue(QStringLiteral("REMEMBER"),
                      remember ? QStringLiteral("True") : QStringLiteral("False"));
    settings.sync();
}
