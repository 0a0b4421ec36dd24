#pragma once

#include <QDialog>

class QPlainTextEdit;

/// Lists the backup service's output while the backup runs.
class TClsControlVersionBackup : public QDialog
{
    Q_OBJECT
public:
    explicit TClsControlVersionBackup(QWidget *parent = nullptr);
    QPlainTextEdit *Memo = nullptr;
    void appendLine(const QString &line);
};
