#include "terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <thread>

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace os {

namespace {

sigset_t terminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

void TerminationSignals::blockInProcess()
{
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TerminationSignals::exitOnRequest(const QByteArray &message)
{
    std::thread([message] {
        const sigset_t set = terminationSet();
        int signalNumber = 0;
        while (sigwait(&set, &signalNumber) != 0) {
        }
        const QByteArray line = message + '\n';
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.constData(), size_t(line.size()));
        ::_exit(128 + signalNumber);
    }).detach();
}

void TerminationSignals::unblockInChild()
{
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    const sigset_t set = terminationSet();
    m_descriptor = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_descriptor < 0) {
        std::perror("signalfd");
        return;
    }
    m_notifier = new QSocketNotifier(qintptr(m_descriptor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
}

TerminationSignals::~TerminationSignals()
{
    delete m_notifier;
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void TerminationSignals::readPending()
{
    signalfd_siginfo info;
    while (::read(m_descriptor, &info, sizeof info) == ssize_t(sizeof info)) {
        m_received = int(info.ssi_signo);
        emit requested(m_received);
    }
}

} // namespace os
