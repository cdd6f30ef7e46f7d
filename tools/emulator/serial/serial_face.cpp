#include "tools/emulator/serial/serial_face.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <deque>

#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace emu {

namespace {

// A split reply goes out one byte at a time, at least this far apart.
constexpr double kSplitIntervalMs = 1.0;
// Reply bytes are handed to the terminal in slices of about this much
// line time (never less than one byte).
constexpr double kSliceMs = 2.0;

quint64 pack(const SerialLine &l)
{
    const quint64 parity = l.parity == 'O' ? 1 : l.parity == 'E' ? 2 : 0;
    return quint64(quint32(l.baud)) | quint64(l.dataBits & 0xF) << 32 | parity << 36 | quint64(l.stopBits & 0x3) << 38
           | quint64(l.anySettings ? 1 : 0) << 40;
}

SerialLine unpack(quint64 v)
{
    SerialLine l;
    l.baud = int(quint32(v));
    l.dataBits = int(v >> 32 & 0xF);
    const int parity = int(v >> 36 & 0x3);
    l.parity = parity == 1 ? 'O' : parity == 2 ? 'E' : 'N';
    l.stopBits = int(v >> 38 & 0x3);
    l.anySettings = (v >> 40 & 1) != 0;
    return l;
}

double bitsPerByte(const SerialLine &l)
{
    return 1 + l.dataBits + (l.parity == 'N' ? 0 : 1) + l.stopBits;
}

// The speeds of the classic Bxxx codes; BOTHER carries the rate itself.
int rateOf(unsigned int code)
{
    static const struct { unsigned int code; int rate; } table[] = {
        {B50, 50},         {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
        {B200, 200},       {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
        {B2400, 2400},     {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
        {B57600, 57600},   {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B500000, 500000},
        {B576000, 576000}, {B921600, 921600}, {B1000000, 1000000}};
    for (const auto &entry : table)
        if (entry.code == code)
            return entry.rate;
    return 0;
}

// The line as the tool set it on its side of the terminal. Asked on the
// master side: for a pseudo-terminal's master the kernel answers with the
// terminal side's settings, and umockdev, which answers the terminal
// side's ioctls in a preloaded process itself, leaves the master alone.
bool hostLine(int fd, SerialLine &line)
{
    struct termios2 t = {};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    const unsigned int code = t.c_cflag & CBAUD;
    line.baud = code == BOTHER ? int(t.c_ospeed) : rateOf(code);
    line.dataBits = (t.c_cflag & CSIZE) == CS7 ? 7 : (t.c_cflag & CSIZE) == CS8 ? 8 : 5;
    line.parity = !(t.c_cflag & PARENB) ? 'N' : (t.c_cflag & PARODD) ? 'O' : 'E';
    line.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    return true;
}

// A fresh terminal side starts raw at the printer's speed, as a port
// nobody has configured yet would (no echo of what the printer sends).
void makeRaw(int fd, const SerialLine &line)
{
    struct termios2 t = {};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return;
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CS8 | CREAD | CLOCAL | BOTHER;
    t.c_ispeed = t.c_ospeed = speed_t(line.baud);
    ::ioctl(fd, TCSETS2, &t);
}

} // namespace

class SerialPrinter::Worker : public QObject
{
public:
    Worker(SerialPrinter *owner, int master, int terminal)
        : m_owner(owner), m_master(master), m_terminal(terminal)
    {
        m_clock.start();
        m_session = owner->m_model->openSession(Medium::Serial);
        m_notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { receive(); });
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { send(); });
    }
    ~Worker() override
    {
        m_session.reset();
        ::close(m_master);
        ::close(m_terminal);
    }

private:
    struct Slice
    {
        double dueMs;
        QByteArray bytes;
    };

    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    void receive()
    {
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        const QByteArray bytes(buffer, int(n));
        const SerialLine own = m_owner->line();
        SerialLine host;
        if (!own.anySettings
            && (!hostLine(m_master, host) || host.baud != own.baud || host.dataBits != own.dataBits
                || host.parity != own.parity)) {
            m_owner->m_noise += n;
            return;
        }
        // The request is in only once the line has carried its last byte.
        const double perByte = bitsPerByte(own) * 1000.0 / own.baud;
        m_rxFreeMs = std::max(m_rxFreeMs, now()) + double(n) * perByte;
        const QByteArray reply = m_session->feed(bytes);
        emit m_owner->bytesReceived(bytes);
        const Faults faults = m_owner->m_model->faults();
        if (reply.isEmpty() || faults.silent)
            return;
        double at = std::max(m_rxFreeMs, m_txFreeMs) + faults.delayMs;
        const int slice = faults.splitBytes ? 1 : std::max(1, int(kSliceMs / perByte));
        for (qsizetype i = 0; i < reply.size(); i += slice) {
            const QByteArray part = reply.mid(i, slice);
            at += double(part.size()) * perByte;
            if (faults.splitBytes && !m_queue.empty())
                at = std::max(at, m_queue.back().dueMs + kSplitIntervalMs);
            m_queue.push_back({at, part});
        }
        m_txFreeMs = at;
        schedule();
    }

    void send()
    {
        const double t = now();
        while (!m_queue.empty() && m_queue.front().dueMs <= t) {
            const QByteArray &bytes = m_queue.front().bytes;
            // A full terminal buffer drops the rest: the tool reads all the
            // time, and a real line has no buffer at all.
            [[maybe_unused]] const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
            m_queue.pop_front();
        }
        schedule();
    }

    void schedule()
    {
        if (m_queue.empty() || m_timer.isActive())
            return;
        m_timer.start(std::max(0, int(m_queue.front().dueMs - now() + 0.999)));
    }

    SerialPrinter *m_owner;
    int m_master;
    int m_terminal;
    std::unique_ptr<PrinterModel::Session> m_session;
    QSocketNotifier *m_notifier;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::deque<Slice> m_queue;
    double m_rxFreeMs = 0;
    double m_txFreeMs = 0;
};

SerialPrinter::SerialPrinter(PrinterModel *model, QObject *parent)
    : QObject(parent), m_model(model), m_line(std::make_shared<std::atomic<quint64>>(pack(SerialLine{})))
{
    if (!m_model) {
        m_ownModel = std::make_unique<PrinterModel>();
        m_model = m_ownModel.get();
    }
}

SerialPrinter::~SerialPrinter()
{
    stop();
}

void SerialPrinter::setLine(const SerialLine &line)
{
    m_line->store(pack(line));
}

SerialLine SerialPrinter::line() const
{
    return unpack(m_line->load());
}

bool SerialPrinter::start(const SerialLine &line, int masterFd)
{
    stop();
    setLine(line);
    const bool own = masterFd < 0;
    const int master = own ? ::posix_openpt(O_RDWR | O_NOCTTY) : ::fcntl(masterFd, F_DUPFD_CLOEXEC, 0);
    if (master < 0 || (own && (::grantpt(master) != 0 || ::unlockpt(master) != 0))) {
        m_error = QStringLiteral("no pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (master >= 0)
            ::close(master);
        return false;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    char name[128] = {};
    // The face keeps the terminal side open as well: the master stays
    // usable (no hang-up) while the tool has the port closed.
    const int terminal = ::ptsname_r(master, name, sizeof name) == 0 ? ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK) : -1;
    if (terminal < 0) {
        m_error = QStringLiteral("cannot open the terminal side: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(master);
        return false;
    }
    makeRaw(master, line);
    m_terminal = QString::fromLocal8Bit(name);

    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("emu-serial"));
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();
    // Made in the face's thread, the worker and its notifier belong to it.
    QMetaObject::invokeMethod(
        m_context, [&] { m_worker = new Worker(this, master, terminal); }, Qt::BlockingQueuedConnection);
    return true;
}

void SerialPrinter::stop()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(
        m_context, [this] { delete m_worker; }, Qt::BlockingQueuedConnection);
    m_worker = nullptr;
    m_thread->quit();
    m_thread->wait();
    delete m_context;
    m_context = nullptr;
    delete m_thread;
    m_thread = nullptr;
}

} // namespace emu
