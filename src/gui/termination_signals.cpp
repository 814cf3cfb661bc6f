#include "gui/termination_signals.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>

namespace lumbra {

namespace {

// The handler only writes the signal's number into a pipe; the event loop reads it.
int signalPipe[2] = {-1, -1};

void WriteSignal(int number) {
    const auto byte = static_cast<uint8_t>(number);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

void EndOnTerminationSignals(std::function<void(int)> endProgram) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [endProgram = std::move(endProgram)] {
        uint8_t byte = 0;
        if (read(signalPipe[0], &byte, 1) == 1) endProgram(byte);
    });
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace lumbra
