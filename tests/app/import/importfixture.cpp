#include "importfixture.h"

#include "app/schema/dmversaoleilao.h"
#include "platform/db/currency.h"
#include "platform/db/database.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <QFile>
#include <QStringEncoder>

#include <stdexcept>

namespace importtest {

QString zeros(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString noteLine(qint64 totalCents, int noteNumber, const NoteFields &f)
{
    QString line = QStringLiteral("1") + f.date.leftJustified(8, u' ', true);
    line += f.auction.leftJustified(10, u' ', true);
    line += f.document.leftJustified(14, u' ', true);
    line += f.name.leftJustified(50, u' ', true);
    line += f.noteNumber.isEmpty() ? zeros(noteNumber, 10) : f.noteNumber.leftJustified(10, u' ', true);
    line += f.merchandise.isEmpty() ? zeros(100000, 15) : f.merchandise.leftJustified(15, u' ', true);
    line += zeros(500, 15);  // 5,00 %
    line += zeros(5000, 15); // 50,00
    line += zeros(1000, 15); // 10,00
    line += f.total.isEmpty() ? zeros(totalCents, 15) : f.total.leftJustified(15, u' ', true);
    return line;
}

QString totalsLine(qint64 count, qint64 totalCents)
{
    return QStringLiteral("2") + zeros(count, 10) + zeros(totalCents, 15) + QString(142, u' ');
}

QStringList threeNoteFile()
{
    return {noteLine(10000, 1), noteLine(25050, 2), noteLine(4950, 3), totalsLine(3, 40000)};
}

QByteArray fileBytes(const QStringList &lines, const QString &lineEnd)
{
    QString text;
    for (const QString &line : lines)
        text += line + lineEnd;
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        throw std::logic_error("test text outside Windows-1252");
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test file " + path.toStdString());
}

void writeFile(const QString &path, const QStringList &lines)
{
    writeFile(path, fileBytes(lines));
}

QString createTemplate(const QString &folder)
{
    const QString path = folder + QStringLiteral("/template.fdb");
    {
        db::Database database;
        database.setDatabaseName(path);
        database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096")});
        database.createDatabase();
        database.close();
    }
    if (!TdmVersaoLeilao().CreateSchema(path))
        throw std::runtime_error("the schema scripts failed");
    execOn(path, {QStringLiteral("insert into USUARIO (ID, USUARIO, PRIMEIRO_NOME, SUPERVISORID) "
                                 "values (2, 'MARIA', 'Maria', 1)"),
                  QStringLiteral("insert into USUARIO (ID, USUARIO, PRIMEIRO_NOME, SUPERVISORID, DESATIVADO) "
                                 "values (3, 'JOAO', 'João', 1, 'T')")});
    return path;
}

QString copyDatabase(const QString &templatePath, const QString &path)
{
    QFile::remove(path);
    if (!QFile::copy(templatePath, path))
        throw std::runtime_error("cannot copy the template database");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

namespace {

template <typename Work> void onOwnConnection(const QString &path, Work work)
{
    db::Database database;
    database.setDatabaseName(path);
    database.open();
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams({QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    tr.start();
    work(database, tr);
    if (tr.isActive())
        tr.commit();
}

} // namespace

std::vector<StoredNote> storedNotes(const QString &databasePath)
{
    std::vector<StoredNote> notes;
    onOwnConnection(databasePath, [&notes](db::Database &database, db::Transaction &tr) {
        db::Statement st(&database, &tr);
        st.setSql(QStringLiteral("select LEILAO_DATA, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, "
                                 "NOTA_MERCADORIA, NOTA_PER_COMISSAO, NOTA_COMISSAO, NOTA_TAXA_ADMIN, "
                                 "NOTA_TOTAL, USUARIOID, LEILAO_NUMERO from CONTROLE order by ID"));
        st.execute();
        while (st.next()) {
            StoredNote n;
            n.date = st.field(0).asDate();
            n.personType = st.field(1).asInteger();
            n.document = st.field(2).asString();
            n.name = st.field(3).asString();
            n.noteNumber = st.field(4).asInteger();
            n.merchandise = st.field(5).asCurrency().ticks();
            n.commissionRate = st.field(6).asCurrency().ticks();
            n.commission = st.field(7).asCurrency().ticks();
            n.adminFee = st.field(8).asCurrency().ticks();
            n.total = st.field(9).asCurrency().ticks();
            n.userId = st.field(10).asInteger();
            n.auction = st.field(11).asString();
            notes.push_back(n);
        }
    });
    return notes;
}

int storedCount(const QString &databasePath)
{
    int count = -1;
    onOwnConnection(databasePath, [&count](db::Database &database, db::Transaction &tr) {
        db::Statement st(&database, &tr);
        st.setSql(QStringLiteral("select count(*) from CONTROLE"));
        st.execute();
        st.next();
        count = st.field(0).asInteger();
    });
    return count;
}

void execOn(const QString &databasePath, const QStringList &statements)
{
    db::Database database;
    database.setDatabaseName(databasePath);
    database.open();
    for (const QString &sql : statements) {
        db::Transaction tr;
        tr.setDefaultDatabase(&database);
        tr.start();
        db::Statement st(&database, &tr);
        st.setParamCheck(false);
        st.setSql(sql);
        st.execute();
        tr.commit();
    }
}

} // namespace importtest
