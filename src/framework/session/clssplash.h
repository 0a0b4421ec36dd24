#pragma once

#include <QWidget>

class QTimer;
class TZelImage;
class TZelLabel;

/// The window shown while the program starts: the program's picture and a one-line caption, without a frame,
/// centred on the screen. The connection and login dialogs open over it; its timer keeps it drawn while they
/// run.
class TClsSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TClsSplash(QWidget *parent = nullptr);
    ~TClsSplash() override;

    TZelImage *imgSplash() const { return m_image; }
    TZelLabel *lblCaption() const { return m_caption; }
    QTimer *tmrRepaint() const { return m_timer; }

    /// Shows the window and draws it at once, before the event loop runs.
    void showAndPaint();

private:
    void centreOnScreen();

    TZelImage *m_image;
    TZelLabel *m_caption;
    QTimer *m_timer;
};
