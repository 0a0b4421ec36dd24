#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class TCommonProperties;

/// A picture on a window: drawn at its natural size from the top-left corner, or stretched over the whole
/// control.
class TZelImage : public QWidget
{
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(TZelImage *sender)>;

    explicit TZelImage(QWidget *parent = nullptr);
    ~TZelImage() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    TCommonProperties *m_commonProperties;
    QPixmap m_picture;
    bool m_stretch = false;
};
