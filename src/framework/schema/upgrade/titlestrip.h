#pragma once

#include <QString>

class QWidget;

/// The white strip with an icon and a title across the top of the version-control windows.
QWidget *CreateTitleStrip(QWidget *parent, const QString &title, int width);
