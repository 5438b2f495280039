// The rules that read the outside commands' output: adb's device list,
// install, activity start, forward, battery and serial, and the Windows
// netstat and tasklist tables, in any of their line-end forms.
//
// Input: byte 0 picks a second text's length (the process id looked for in a
// tasklist table, taken from the front of the rest); the rest is the output.
// Properties: a process id taken from netstat output is digits only and
// becomes exactly one argument of the tasklist and taskkill commands; an
// image name is one word of the output; adb track-devices output gives the
// same lists whether it comes whole or byte by byte.

#include "fuzztarget.h"

#include "devicelink/outputrules.h"


using namespace devicelink;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

namespace {

void checkPidCommandLines(const QString &pid)
{
    if (pid.isEmpty())
        return;
    for (const QChar c : pid)
        FUZZ_CHECK(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    FUZZ_CHECK(tasklistArguments(pid) == (QStringList{QStringLiteral("/fi"), QStringLiteral("pid eq ") + pid}));
    FUZZ_CHECK(taskkillArguments(pid) == (QStringList{QStringLiteral("/f"), QStringLiteral("/pid"), pid}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const int pidLength = in.byte() % 8;
    const QByteArray raw = in.rest();
    const QString all = QString::fromLocal8Bit(raw);
    const QString pid = all.left(pidLength);
    const QString output = all.mid(pidLength);

    FUZZ_CHECK(outputLines(output).join(QLatin1String("\r\n")) == normaliseLineEnds(output));
    for (const QString &line : nonEmptyOutputLines(output))
        FUZZ_CHECK(!line.isEmpty());

    (void)probeDeviceList(output);
    UsbState usb;
    QStringList log;
    applyUsbRule(output, usb, &log);
    AuthState auth;
    QString judged;
    (void)applyAuthRule(output, auth, &judged);
    (void)killServerSucceeded(output);
    (void)startServerSucceeded(output);
    (void)hasCompanionPackage(output);
    (void)installSucceeded(output);
    (void)activityStarted(output);
    (void)forwardSucceeded(output);
    (void)batteryLevel(output);
    (void)serialNumber(output);
    (void)companionQuit(output);

    const QString pid5037 = holderPid5037(output);
    FUZZ_CHECK(pid5037.isEmpty() || port5037Used(output));
    checkPidCommandLines(pid5037);
    checkPidCommandLines(holderPid10000(output));

    // adb track-devices output: read whole or byte by byte, the same lists.
    {
        TrackedDeviceLists whole, pieces;
        QStringList a, b;
        QString list;
        whole.feed(raw);
        while (whole.next(&list))
            a << list;
        for (const char c : raw) {
            pieces.feed(QByteArray(1, c));
            while (pieces.next(&list))
                b << list;
        }
        FUZZ_CHECK(a == b);
        FUZZ_CHECK(whole.broken() == pieces.broken());
    }

    const QString image = imageNameForPid(output, pid);
    FUZZ_CHECK(!image.contains(QLatin1Char(' ')));
    FUZZ_CHECK(output.contains(image));
    return 0;
}
