#include "zelmemostrings.h"

#include "zelspockmemo.h"

#include "platform/db/dberror.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int MaxLineLength = 4096;

} // namespace

int TZelMemoStrings::Count() const
{
    if (!m_memo)
        return 0;
    const QTextDocument *doc = m_memo->document();
    int n = doc->blockCount();
    if (n > 0 && doc->lastBlock().text().isEmpty())
        --n;
    return n;
}

QString TZelMemoStrings::Strings(int i) const
{
    if (!m_memo || i < 0)
        return QString();
    const QTextBlock block = m_memo->document()->findBlockByNumber(i);
    return block.isValid() ? block.text().left(MaxLineLength) : QString();
}

void TZelMemoStrings::Put(int i, const QString &text)
{
    if (!m_memo || i < 0)
        return;
    const QTextBlock block = m_memo->document()->findBlockByNumber(i);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

void TZelMemoStrings::Insert(int i, const QString &text)
{
    if (!m_memo || i < 0)
        return;
    QTextDocument *doc = m_memo->document();
    const QTextBlock block = doc->findBlockByNumber(i);
    if (block.isValid()) {
        QTextCursor cursor(block);
        cursor.insertText(text + u'\n');
        return;
    }
    const QTextBlock previous = i > 0 ? doc->findBlockByNumber(i - 1) : QTextBlock();
    if (previous.isValid() && !previous.text().isEmpty()) {
        QTextCursor cursor(previous);
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(u'\n' + text);
    }
}

void TZelMemoStrings::Delete(int i)
{
    if (!m_memo || i < 0)
        return;
    const QTextBlock block = m_memo->document()->findBlockByNumber(i);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    if (block.next().isValid())
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    else
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TZelMemoStrings::Clear()
{
    if (m_memo)
        m_memo->Clear();
}

void TZelMemoStrings::BeginUpdate()
{
    if (m_memo && m_updates++ == 0)
        m_memo->setUpdatesEnabled(false);
}

void TZelMemoStrings::EndUpdate()
{
    if (!m_memo || m_updates == 0)
        return;
    if (--m_updates == 0) {
        m_memo->setUpdatesEnabled(true);
        m_memo->update();
    }
}

QString TZelMemoStrings::Text() const
{
    return m_memo ? m_memo->Text() : QString();
}

void TZelMemoStrings::setText(const QString &text)
{
    if (!m_memo)
        return;
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    normal.replace(u'\n', QStringLiteral("\r\n"));
    if (normal == m_memo->Text())
        return;
    if (m_memo->MaxLength() > 0 && normal.size() > m_memo->MaxLength())
        throw db::ProgrammingError(QStringLiteral("Invalid text size"));
    // A change the user will see: it is pending for the field like typing.
    m_memo->putText(normal);
    if (m_memo->DataSource())
        m_memo->m_link.setModified(true);
}
