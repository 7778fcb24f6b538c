#pragma once

// Runs one test of this binary again inside a network namespace of its own, where only a
// loopback device exists, so the application's real discovery and sweeps can run without ever
// reaching another host.
//
//   host side     the test as ctest starts it: re-executes the binary under `unshare --net`
//                 for that one test and reports the inner run's result
//   inner side    the same test with ORVELLA_PRIVATE_NETWORK=1: checks that nothing but loopback
//                 exists, brings loopback up and does the real work
//
// Where no namespace can be made, the host side skips the test; it never passes it. Tests that
// need more than one namespace start their own sides with startInPrivateNetwork.

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QNetworkInterface>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace orvel::testing {

inline constexpr const char* privateNetworkVariable = "ORVELLA_PRIVATE_NETWORK";
// Printed by the inner side once it has checked where it runs.
inline constexpr const char* privateNetworkMarker = "INSIDE-PRIVATE-NETWORK";

inline bool insidePrivateNetwork() { return qgetenv(privateNetworkVariable) == "1"; }

// A fresh namespace has nothing but its loopback device; anything else is the host's network.
inline bool onlyLoopback() {
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsLoopBack)) return false;
    }
    return true;
}

// A new namespace's loopback starts down.
inline bool bringLoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (up && (request.ifr_flags & IFF_UP) == 0) {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        up = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(fd);
    return up;
}

// The inner side's first step: refuses to go on outside a fresh namespace.
inline ::testing::AssertionResult enterPrivateNetwork() {
    if (!onlyLoopback()) return ::testing::AssertionFailure() << "refusing to run: devices other than loopback exist";
    std::cout << privateNetworkMarker << std::endl;
    if (!bringLoopbackUp()) return ::testing::AssertionFailure() << "could not bring loopback up";
    return ::testing::AssertionSuccess();
}

struct PrivateNetworkRun {
    bool entered = false;  // the inner side started inside a namespace
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
};

// Runs a program to its end; true when it ended by itself with exit code 0.
inline bool runsCleanly(const QString& program, const QStringList& arguments, int limitMs) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(limitMs) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Starts `testName` of this binary in a new network namespace, with `variable` set to `value`
// so the started copy knows which side it plays.
inline void startInPrivateNetwork(QProcess& process, const QString& testName, const char* variable, const QByteArray& value) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(variable), QString::fromLatin1(value));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral("--net")};
    // Without root, a user namespace grants the right to bring loopback up.
    if (::geteuid() != 0) arguments << QStringLiteral("--map-root-user");
    arguments << QStringLiteral("--") << QCoreApplication::applicationFilePath()
              << QStringLiteral("--gtest_filter=") + testName;
    process.start(QStringLiteral("unshare"), arguments);
}

// The host side: runs `testName` of this binary in a new network namespace and waits for it.
inline PrivateNetworkRun runInPrivateNetwork(const QString& testName, int limitMs) {
    QProcess process;
    startInPrivateNetwork(process, testName, privateNetworkVariable, "1");

    PrivateNetworkRun run;
    run.finished = process.waitForFinished(limitMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(limitMs);
    }
    run.output = process.readAll();
    run.entered = run.output.contains(privateNetworkMarker);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

inline QString currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QString::fromLatin1(info->test_suite_name()) + QLatin1Char('.') + QString::fromLatin1(info->name());
}

// The host side of the current test, whole: skips where no namespace can be made, fails with the
// inner run's output when it failed.
#define ORVELLA_RUN_IN_PRIVATE_NETWORK(limitMs)                                                                   \
    do {                                                                                                          \
        const ::orvel::testing::PrivateNetworkRun inner =                                                        \
            ::orvel::testing::runInPrivateNetwork(::orvel::testing::currentTestName(), (limitMs));               \
        if (!inner.entered) GTEST_SKIP() << "no private network namespace could be made:\n"                      \
                                         << inner.output.toStdString();                                          \
        ASSERT_TRUE(inner.finished) << "the run in the private network did not end in time:\n"                  \
                                    << inner.output.toStdString();                                               \
        ASSERT_EQ(inner.exitCode, 0) << inner.output.toStdString();                                              \
    } while (false)

}  // namespace orvel::testing
