#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

/// One command of the administration tool.
struct AdminCommand
{
    QString name;
    QString usage;   ///< "create-database <banco>"
    QString summary; ///< one line for the list of commands
    QString help;    ///< what `<command> --help` prints after the usage line
    std::function<int(const QStringList &args, QTextStream &out, QTextStream &err)> run;
};

/// The commands of the administration tool; each area of the program adds its own.
class AdminCommands
{
public:
    void add(AdminCommand command) { m_commands.push_back(std::move(command)); }
    /// Runs the command line (without the program name); answers the exit status.
    int run(const QStringList &args, QTextStream &out, QTextStream &err) const;
    const std::vector<AdminCommand> &commands() const { return m_commands; }

private:
    void printUsage(QTextStream &out) const;
    std::vector<AdminCommand> m_commands;
};

/// The administrator's login for databases the tool creates and upgrades.
QStringList AdminLoginParams();

// Registration, one function per area of the program.
void RegisterSchemaCommands(AdminCommands &commands);
void RegisterSessionCommands(AdminCommands &commands);
void RegisterImportCommands(AdminCommands &commands);
