#include "zeldbmemo.h"

#include "commonproperties.h"
#include "zelerrorhandler.h"

#include <QKeyEvent>

TZelDBMemo::TZelDBMemo(QWidget *parent)
    : QPlainTextEdit(parent), m_commonProperties(new TCommonProperties(this, true))
{
    m_link.setControl(this);
    m_link.OnDataChange = [this](TZelFieldDataLink *) { display(); };
    m_link.OnEditingChange = [this](TZelFieldDataLink *) {
        setReadOnly(m_link.dataSource() && !m_link.Editing());
    };
    m_link.OnUpdateData = [this](TZelFieldDataLink *) { m_link.Field()->setAsString(toPlainText()); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_displaying)
            m_link.setModified(true);
    });
}

TZelDBMemo::~TZelDBMemo()
{
    m_link.OnDataChange = nullptr;
    m_link.OnEditingChange = nullptr;
}

void TZelDBMemo::display()
{
    m_displaying = true;
    setPlainText(m_link.Field() ? m_link.Field()->asString() : QString());
    m_displaying = false;
}

void TZelDBMemo::keyPressEvent(QKeyEvent *event)
{
    if (m_link.dataSource() && !event->text().isEmpty() && event->key() != Qt::Key_Escape) {
        try {
            m_link.Edit();
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && m_link.dataSource()) {
        m_link.Reset();
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TZelDBMemo::focusOutEvent(QFocusEvent *event)
{
    if (m_link.dataSource()) {
        try {
            m_link.UpdateRecord();
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
        }
    }
    QPlainTextEdit::focusOutEvent(event);
}
