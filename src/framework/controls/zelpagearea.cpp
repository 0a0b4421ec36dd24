#include "zelpagearea.h"

#include "areaenabling.h"
#include "commonproperties.h"

TZelPageArea::TZelPageArea(QWidget *parent)
    : QTabWidget(parent), m_link(this), m_commonProperties(new TCommonProperties(this))
{
    connect(this, &QTabWidget::currentChanged, this, &TZelPageArea::pageChanged);
}

TZelPageArea::~TZelPageArea()
{
    m_link.setDataSource(nullptr);
}

void TZelPageArea::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
}

void TZelPageArea::setActive(bool on)
{
    if (!on && on == m_active)
        return;
    // A page without controls still takes the state: the next page shown is enabled from it.
    QWidget *page = currentWidget();
    if (!page)
        return;
    Activate(on);
    m_active = on;
    const QList<QWidget *> order = ZelAreaEnabling::tabOrderList(page);
    m_first = order.isEmpty() ? nullptr : order.first();
    m_last = order.isEmpty() ? nullptr : order.last();
}

void TZelPageArea::Activate(bool on)
{
    if (on && BeforeActivate)
        BeforeActivate(this);
    if (!on && BeforeDeactivate)
        BeforeDeactivate(this);
    ZelAreaEnabling::enableControls(currentWidget(), on, m_link.state(), false, LookUpFunction,
                                    LookUpFormClass);
    if (on && window()->isVisible()) {
        for (QWidget *w : ZelAreaEnabling::tabOrderList(currentWidget())) {
            if (ZelAreaEnabling::isWindowedControl(w) && w->isEnabled() && w->isVisible() &&
                (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    if (on && AfterActivate)
        AfterActivate(this);
    if (!on && AfterDeactivate)
        AfterDeactivate(this);
}

void TZelPageArea::pageChanged()
{
    if (!currentWidget())
        return;
    Activate(m_active);
    m_first = m_last = nullptr;
    for (QWidget *w : ZelAreaEnabling::tabOrderList(currentWidget())) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(currentWidget())) {
            if (!m_first)
                m_first = w;
            m_last = w;
        }
    }
}
