// usbfs as libusb sees it, answered for an emulated printer.
//
// What libusb 1.0.26 does on Linux, and what this file answers:
//  - Listing reads sysfs only (busnum/devnum from the device node name,
//    "descriptors", "speed", "bConfigurationValue"); no ioctl is involved.
//  - libusb_open asks USBDEVFS_GET_CAPABILITIES once.
//  - Every transfer, control ones included, is an asynchronous URB:
//    SUBMITURB, then REAPURBNDELAY until the URB comes back. On a time-out
//    libusb sends DISCARDURB and waits to reap the URB with -ENOENT.
//  - Claim/release, GETDRIVER and USBDEVFS_IOCTL(DISCONNECT) for the
//    kernel-driver dance.
//
// umockdev's device nodes are plain files, so poll() always reports them
// ready and libusb would call REAPURBNDELAY in a tight loop while it waits
// for a reply. An empty reap is therefore held back for a few milliseconds
// and answered early as soon as a URB completes.
#include <umockdev.h>

#include "tools/emulator/usb/usb_face.h"
#include "tools/emulator/core/printer_model.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <QDebug>
#include <QFile>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>
#include <cerrno>

namespace emu {

namespace {

using Clock = std::chrono::steady_clock;

constexpr quint32 kCapabilities = USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_BULK_CONTINUATION
                                  | USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT
                                  | USBDEVFS_CAP_ZERO_PACKET;

// A URB the host submitted and has not reaped yet. urb is our copy of the
// host's struct usbdevfs_urb (its buffer pointer resolved to buffer); both
// are written back to the host's memory when the URB is reaped.
struct Urb
{
    UMockdevIoctlClient *owner = nullptr;  // not counted: the Client holds it
    UMockdevIoctlData *urb = nullptr;      // owned reference
    UMockdevIoctlData *buffer = nullptr;   // owned reference, may be null
    gulong hostAddress = 0;

    usbdevfs_urb *header() const { return reinterpret_cast<usbdevfs_urb *>(urb->data); }
    guint8 *bytes() const { return buffer ? buffer->data : nullptr; }
    int length() const { return buffer ? buffer->data_len : 0; }
};

void dropUrb(Urb &u)
{
    if (u.buffer)
        g_object_unref(u.buffer);
    if (u.urb)
        g_object_unref(u.urb);
    u.buffer = nullptr;
    u.urb = nullptr;
}

struct Completion
{
    UMockdevIoctlClient *client;  // owned reference
    long result;
    int error;
};

void runCompletions(std::vector<Completion> &todo)
{
    for (Completion &c : todo) {
        umockdev_ioctl_client_complete(c.client, c.result, c.error);
        g_object_unref(c.client);
    }
    todo.clear();
}

void completeLater(std::vector<Completion> &todo, UMockdevIoctlClient *client, long result, int error)
{
    todo.push_back({static_cast<UMockdevIoctlClient *>(g_object_ref(client)), result, error});
}

UMockdevIoctlData *resolve(UMockdevIoctlData *data, gsize offset, gsize length)
{
    GError *error = nullptr;
    UMockdevIoctlData *child = umockdev_ioctl_data_resolve(data, offset, length, &error);
    if (error) {
        qWarning("emu usb: cannot read host memory: %s", error->message);
        g_error_free(error);
    }
    return child;
}

QByteArray stringDescriptor(const QString &text)
{
    // bLength is one byte: at most 126 UTF-16 units fit.
    const QString cut = text.left(126);
    QByteArray d;
    d.append(char(2 + 2 * cut.size()));
    d.append(char(0x03));
    for (QChar ch : cut) {
        d.append(char(ch.unicode() & 0xFF));
        d.append(char(ch.unicode() >> 8));
    }
    return d;
}

void put16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

} // namespace

// One open device file of the host (one libusb_device_handle).
struct Client
{
    UMockdevIoctlClient *client = nullptr;  // owned reference
    std::deque<Urb> done;                   // completed, waiting to be reaped
    std::set<int> claimed;
    UMockdevIoctlData *heldReap = nullptr;  // owned; a reap waiting for a URB
    bool heldBlocking = false;              // REAPURB: no deadline
    Clock::time_point heldUntil;
};

struct UsbFace::Device
{
    int id = -1;
    UsbPrinterConfig config;
    PrinterModel *model = nullptr;
    std::unique_ptr<PrinterModel::Session> session;
    QString sysfsPath;
    QString devNode;
    UMockdevIoctlBase *handler = nullptr;
    QMap<int, QString> strings;
    QByteArray descriptors;

    QByteArray inQueue;            // printer → host bytes not yet read
    std::deque<Urb> pendingIn;     // bulk IN URBs on the printer pipe, in order
    std::deque<Urb> pendingOther;  // IN URBs nobody will ever answer
    std::deque<Urb> heldOut;       // OUT URBs the printer does not read yet (their actual_length: taken so far)
    std::map<UMockdevIoctlClient *, Client> clients;
    bool driverBound = false;
    bool driverPresent = false;    // usblp is loaded: a reconnect binds it again
    bool claimRefused = false;
    int stallOutIn = 0;            // > 0: the printer pipe's OUT transfer that many from now stalls
    qint64 unplugLeft = -1;        // >= 0: bytes the printer pipe still takes before the cable is pulled
    qint64 pauseLeft = -1;         // >= 0: bytes the printer pipe still takes before it stops reading
    int pauseMs = 0;
    bool pausing = false;          // not reading until pauseEnds
    Clock::time_point pauseEnds;
    bool removed = false;          // gone from sysfs and /dev as well
    int statusBytes = 4;           // bytes of the status word a vendor read returns
    bool unplugged = false;
    std::function<QByteArray(const QByteArray &)> replyFilter;
    UsbStats stats;

    ~Device() { forgetHost(); }

    // Drop every reference to the host's objects. Clients refer back to the
    // handler and so to this device: the face breaks that cycle at teardown.
    void forgetHost()
    {
        for (auto &[key, c] : clients)
            dropClientState(c);
        clients.clear();
        for (Urb &u : pendingIn)
            dropUrb(u);
        for (Urb &u : pendingOther)
            dropUrb(u);
        for (Urb &u : heldOut)
            dropUrb(u);
        pendingIn.clear();
        pendingOther.clear();
        heldOut.clear();
    }

    static void dropClientState(Client &c)
    {
        for (Urb &u : c.done)
            dropUrb(u);
        c.done.clear();
        if (c.heldReap)
            g_object_unref(c.heldReap);
        c.heldReap = nullptr;
        if (c.client)
            g_object_unref(c.client);
        c.client = nullptr;
    }

    const UsbInterface *interfaceOf(quint8 endpoint) const
    {
        for (const UsbInterface &i : config.interfaces)
            for (const UsbEndpoint &e : i.endpoints)
                if (e.address == endpoint)
                    return &i;
        return nullptr;
    }
    bool hasInterface(int number) const
    {
        for (const UsbInterface &i : config.interfaces)
            if (i.number == number)
                return true;
        return false;
    }
    bool isPrinterPipe(quint8 endpoint) const
    {
        const UsbInterface *i = interfaceOf(endpoint);
        return i && i->number == config.printerInterface && (i->endpoints.size() > 0);
    }
    bool claimedElsewhere(int number, UMockdevIoctlClient *me) const
    {
        for (const auto &[key, c] : clients)
            if (key != me && c.claimed.count(number))
                return true;
        return false;
    }
};

struct UsbFace::Shared
{
    // The models' link listeners of the printers that follow their
    // model's restarts, by id: model and listener id.
    std::mutex followMutex;
    std::map<int, std::pair<PrinterModel *, int>> followers;

    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::shared_ptr<Device>> devices;
    bool closed = false;

    struct Delayed
    {
        Clock::time_point due;
        std::shared_ptr<Device> device;
        QByteArray bytes;
    };
    std::vector<Delayed> delayed;
    std::thread timer;

    // Hand queued printer bytes to waiting IN URBs, then answer held reaps
    // that now have something to return. Called with the mutex held.
    static void serve(Device &d, std::vector<Completion> &todo)
    {
        const bool oneByte = d.model && d.model->faults().splitBytes;
        while (!d.inQueue.isEmpty() && !d.pendingIn.empty()) {
            Urb u = d.pendingIn.front();
            d.pendingIn.pop_front();
            int n = std::min<int>(u.length(), int(d.inQueue.size()));
            if (oneByte)
                n = std::min(n, 1);
            if (n > 0)
                std::memcpy(u.bytes(), d.inQueue.constData(), size_t(n));
            d.inQueue.remove(0, n);
            u.header()->actual_length = n;
            u.header()->status = 0;
            ++d.stats.inCompleted;
            auto it = d.clients.find(u.owner);
            if (it == d.clients.end())
                dropUrb(u);
            else
                it->second.done.push_back(u);
        }
        for (auto &[key, c] : d.clients)
            answerHeld(c, todo);
    }

    // The cable is out: every call of the host fails with ENODEV from now
    // on, held reaps at once. The model may go away with the printer, so
    // nothing touches it after this.
    static void pull(Device &d, std::vector<Completion> &todo)
    {
        d.unplugged = true;
        d.session.reset();
        d.model = nullptr;
        d.inQueue.clear();
        for (auto &[key, c] : d.clients) {
            if (c.heldReap) {
                g_object_unref(c.heldReap);
                c.heldReap = nullptr;
                completeLater(todo, c.client, -1, ENODEV);
            }
        }
    }

    static void answerHeld(Client &c, std::vector<Completion> &todo)
    {
        if (!c.heldReap || c.done.empty())
            return;
        Urb u = c.done.front();
        c.done.pop_front();
        umockdev_ioctl_data_set_ptr(c.heldReap, 0, u.urb);
        g_object_unref(c.heldReap);
        c.heldReap = nullptr;
        dropUrb(u);
        completeLater(todo, c.client, 0, 0);
    }

    void addReply(Device &d, QByteArray bytes, std::vector<Completion> &todo)
    {
        if (d.replyFilter)
            bytes = d.replyFilter(bytes);
        if (bytes.isEmpty() || !d.model)
            return;
        const Faults f = d.model->faults();
        if (f.silent)
            return;
        if (f.delayMs > 0) {
            delayed.push_back({Clock::now() + std::chrono::milliseconds(f.delayMs),
                               findDevice(d.id), bytes});
            wake.notify_all();
            return;
        }
        d.inQueue.append(bytes);
        serve(d, todo);
    }

    // The printer reads again: the OUT transfers it held are taken whole.
    // Called with the mutex held.
    void resume(Device &d, std::vector<Completion> &todo)
    {
        d.pausing = false;
        while (!d.heldOut.empty()) {
            Urb u = d.heldOut.front();
            d.heldOut.pop_front();
            const int taken = u.header()->actual_length;
            const QByteArray rest(reinterpret_cast<const char *>(u.bytes()) + taken, u.length() - taken);
            u.header()->actual_length = u.length();
            u.header()->status = 0;
            auto it = d.clients.find(u.owner);
            if (it == d.clients.end())
                dropUrb(u);
            else
                it->second.done.push_back(u);
            if (d.session && !rest.isEmpty() && !d.unplugged) {
                d.stats.outBytes += rest.size();
                addReply(d, d.session->feed(rest), todo);
            }
        }
        serve(d, todo);
    }

    std::shared_ptr<Device> findDevice(int id) const
    {
        for (const auto &d : devices)
            if (d->id == id)
                return d;
        return {};
    }

    void timerLoop()
    {
        std::unique_lock lock(mutex);
        while (!closed) {
            Clock::time_point next = Clock::time_point::max();
            for (const auto &d : devices)
                for (const auto &[key, c] : d->clients)
                    if (c.heldReap && !c.heldBlocking)
                        next = std::min(next, c.heldUntil);
            for (const Delayed &x : delayed)
                next = std::min(next, x.due);
            for (const auto &d : devices)
                if (d->pausing)
                    next = std::min(next, d->pauseEnds);
            if (next == Clock::time_point::max())
                wake.wait(lock);
            else
                wake.wait_until(lock, next);
            if (closed)
                break;

            std::vector<Completion> todo;
            const auto now = Clock::now();
            for (size_t i = 0; i < delayed.size();) {
                if (delayed[i].due <= now) {
                    Delayed x = std::move(delayed[i]);
                    delayed.erase(delayed.begin() + qsizetype(i));
                    if (!x.device->unplugged) {
                        x.device->inQueue.append(x.bytes);
                        serve(*x.device, todo);
                    }
                } else {
                    ++i;
                }
            }
            for (const auto &d : devices)
                if (d->pausing && d->pauseEnds <= now)
                    resume(*d, todo);
            for (const auto &d : devices) {
                for (auto &[key, c] : d->clients) {
                    if (c.heldReap && !c.heldBlocking && c.heldUntil <= now) {
                        g_object_unref(c.heldReap);
                        c.heldReap = nullptr;
                        ++d->stats.emptyReaps;
                        completeLater(todo, c.client, -1, EAGAIN);
                    }
                }
            }
            lock.unlock();
            runCompletions(todo);
            lock.lock();
        }
    }
};

namespace {

struct Closure
{
    std::shared_ptr<UsbFace::Shared> shared;
    std::shared_ptr<UsbFace::Device> device;
};

void freeClosure(gpointer data, GClosure *)
{
    delete static_cast<Closure *>(data);
}

// The host closed its device file: the kernel releases the interfaces it
// had claimed and forgets its URBs. Called with the mutex held.
void dropClient(UsbFace::Device &d, UMockdevIoctlClient *client, std::vector<Completion> &todo)
{
    auto it = d.clients.find(client);
    if (it == d.clients.end())
        return;
    for (auto *queue : {&d.pendingIn, &d.pendingOther, &d.heldOut}) {
        for (auto u = queue->begin(); u != queue->end();) {
            if (u->owner == client) {
                dropUrb(*u);
                u = queue->erase(u);
            } else {
                ++u;
            }
        }
    }
    if (it->second.heldReap)
        completeLater(todo, client, -1, ENODEV);
    UsbFace::Device::dropClientState(it->second);
    d.clients.erase(it);
    --d.stats.openHandles;
}

// umockdev 0.17 closes a client's stream when the host closes the file but
// tells nobody; look for such clients before relying on the client list.
void dropGoneClients(UsbFace::Device &d, std::vector<Completion> &todo)
{
    std::vector<UMockdevIoctlClient *> gone;
    for (const auto &[key, c] : d.clients)
        if (!umockdev_ioctl_client_get_connected(key))
            gone.push_back(key);
    for (UMockdevIoctlClient *client : gone)
        dropClient(d, client, todo);
}

void forgetClient(const Closure *cl, UMockdevIoctlClient *client)
{
    std::vector<Completion> todo;
    {
        std::lock_guard lock(cl->shared->mutex);
        dropClient(*cl->device, client, todo);
    }
    runCompletions(todo);
}

void onConnectedChanged(GObject *object, GParamSpec *, gpointer data)
{
    auto *client = reinterpret_cast<UMockdevIoctlClient *>(object);
    if (!umockdev_ioctl_client_get_connected(client))
        forgetClient(static_cast<Closure *>(data), client);
}

void onClientVanished(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer data)
{
    forgetClient(static_cast<Closure *>(data), client);
}

Client &clientFor(UsbFace::Device &d, UMockdevIoctlClient *client, const Closure *cl)
{
    auto it = d.clients.find(client);
    if (it != d.clients.end())
        return it->second;
    Client &c = d.clients[client];
    c.client = static_cast<UMockdevIoctlClient *>(g_object_ref(client));
    ++d.stats.openHandles;
    g_signal_connect_data(client, "notify::connected", G_CALLBACK(onConnectedChanged),
                          new Closure(*cl), freeClosure, GConnectFlags(0));
    return c;
}

void onClientConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer data)
{
    auto *cl = static_cast<Closure *>(data);
    std::lock_guard lock(cl->shared->mutex);
    clientFor(*cl->device, client, cl);
}

// A control URB is answered at once: string descriptors, the descriptors
// themselves, and the printer's vendor status read (bmRequestType 0xC1,
// bRequest 0xFF: four bytes, the status word little-endian). Anything else
// stalls, as firmware does for requests it does not know.
int answerControl(UsbFace::Device &d, Urb &u)
{
    guint8 *b = u.bytes();
    if (!b || u.length() < 8)
        return -EINVAL;
    const quint8 requestType = b[0];
    const quint8 request = b[1];
    const quint16 value = quint16(b[2] | (b[3] << 8));
    const quint16 wLength = quint16(b[6] | (b[7] << 8));
    const int room = std::min<int>(wLength, u.length() - 8);

    QByteArray answer;
    bool stall = false;
    if (requestType == 0x80 && request == 0x06) {
        const int type = value >> 8;
        const int index = value & 0xFF;
        if (type == 0x03 && index == 0)
            answer = QByteArray::fromHex("04030904");  // English (US) only
        else if (type == 0x03 && d.strings.contains(index))
            answer = stringDescriptor(d.strings.value(index));
        else if (type == 0x01)
            answer = d.descriptors.left(18);
        else if (type == 0x02 && index == 0)
            answer = d.descriptors.mid(18);
        else
            stall = true;
    } else if (requestType == 0xC1 && request == 0xFF) {
        if (d.driverBound)
            return -EBUSY;  // the kernel will not let usbfs talk to usblp's interface
        const quint32 word = d.model ? d.model->statusWord() : 0;
        for (int i = 0; i < d.statusBytes; ++i)
            answer.append(char((word >> (8 * i)) & 0xFF));
        ++d.stats.controlReads;
    } else {
        stall = true;
    }

    const int n = stall ? 0 : std::min<int>(room, int(answer.size()));
    if (n > 0)
        std::memcpy(b + 8, answer.constData(), size_t(n));
    u.header()->actual_length = n;
    u.header()->status = stall ? -EPIPE : 0;
    return 0;
}

gboolean onHandleIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer data)
{
    auto *cl = static_cast<Closure *>(data);
    UsbFace::Shared &sh = *cl->shared;
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    std::vector<Completion> todo;

    {
        std::lock_guard lock(sh.mutex);
        UsbFace::Device &d = *cl->device;
        dropGoneClients(d, todo);
        Client &c = clientFor(d, client, cl);

        auto reply = [&](long result, int error) { completeLater(todo, client, result, error); };
        auto readInt = [&](gsize size) -> UMockdevIoctlData * { return resolve(arg, 0, size); };

        if (sh.closed || d.unplugged) {
            reply(-1, ENODEV);
        } else if (request == USBDEVFS_GET_CAPABILITIES) {
            if (UMockdevIoctlData *p = readInt(sizeof(quint32))) {
                std::memcpy(p->data, &kCapabilities, sizeof kCapabilities);
                g_object_unref(p);
                ++d.stats.opens;
                reply(0, 0);
            } else {
                reply(-1, EFAULT);
            }
        } else if (request == USBDEVFS_CLAIMINTERFACE || request == USBDEVFS_RELEASEINTERFACE) {
            UMockdevIoctlData *p = readInt(sizeof(unsigned int));
            if (!p) {
                reply(-1, EFAULT);
            } else {
                unsigned int number = 0;
                std::memcpy(&number, p->data, sizeof number);
                g_object_unref(p);
                if (request == USBDEVFS_CLAIMINTERFACE) {
                    if (!d.hasInterface(int(number))) {
                        reply(-1, ENOENT);
                    } else if (d.claimRefused || d.driverBound || d.claimedElsewhere(int(number), client)) {
                        ++d.stats.claimFailures;
                        reply(-1, EBUSY);
                    } else {
                        c.claimed.insert(int(number));
                        ++d.stats.claims;
                        d.stats.claimedInterfaces.append(int(number));
                        reply(0, 0);
                    }
                } else if (c.claimed.erase(int(number))) {
                    ++d.stats.releases;
                    reply(0, 0);
                } else {
                    reply(-1, EINVAL);
                }
            }
        } else if (request == USBDEVFS_GETDRIVER) {
            UMockdevIoctlData *p = readInt(sizeof(usbdevfs_getdriver));
            if (!p) {
                reply(-1, EFAULT);
            } else {
                auto *gd = reinterpret_cast<usbdevfs_getdriver *>(p->data);
                const char *name = d.driverBound ? "usblp" : (c.claimed.count(int(gd->interface)) ? "usbfs" : nullptr);
                if (name) {
                    std::memset(gd->driver, 0, sizeof gd->driver);
                    std::strncpy(gd->driver, name, sizeof gd->driver - 1);
                    reply(0, 0);
                } else {
                    reply(-1, ENODATA);
                }
                g_object_unref(p);
            }
        } else if (request == USBDEVFS_IOCTL) {
            UMockdevIoctlData *p = readInt(sizeof(usbdevfs_ioctl));
            if (!p) {
                reply(-1, EFAULT);
            } else {
                const auto *io = reinterpret_cast<const usbdevfs_ioctl *>(p->data);
                if (unsigned(io->ioctl_code) == unsigned(USBDEVFS_DISCONNECT)) {
                    if (d.driverBound) {
                        d.driverBound = false;
                        ++d.stats.detaches;
                        reply(0, 0);
                    } else {
                        reply(-1, ENODATA);
                    }
                } else if (unsigned(io->ioctl_code) == unsigned(USBDEVFS_CONNECT)) {
                    bool anyClaim = false;
                    for (const auto &[key, other] : d.clients)
                        anyClaim = anyClaim || !other.claimed.empty();
                    if (anyClaim) {
                        reply(-1, EBUSY);
                    } else {
                        // The kernel answers how many drivers it bound:
                        // none on a host without usblp.
                        d.driverBound = d.driverPresent;
                        reply(d.driverPresent ? 1 : 0, 0);
                    }
                } else {
                    reply(-1, ENOTTY);
                }
                g_object_unref(p);
            }
        } else if (request == USBDEVFS_SUBMITURB) {
            UMockdevIoctlData *urbData = resolve(arg, 0, sizeof(usbdevfs_urb));
            if (!urbData) {
                reply(-1, EFAULT);
            } else {
                Urb u;
                u.owner = client;
                u.urb = urbData;
                u.hostAddress = urbData->client_addr;
                const usbdevfs_urb *h = u.header();
                if (h->buffer_length > 0)
                    u.buffer = resolve(urbData, offsetof(usbdevfs_urb, buffer), gsize(h->buffer_length));
                const quint8 ep = h->endpoint;
                const UsbInterface *owner = d.interfaceOf(ep);

                if (h->buffer_length > 0 && !u.buffer) {
                    dropUrb(u);
                    reply(-1, EFAULT);
                } else if (h->type == USBDEVFS_URB_TYPE_CONTROL) {
                    const int r = answerControl(d, u);
                    if (r < 0) {
                        dropUrb(u);
                        reply(-1, -r);
                    } else {
                        c.done.push_back(u);
                        reply(0, 0);
                    }
                } else if (h->type != USBDEVFS_URB_TYPE_BULK || !owner) {
                    dropUrb(u);
                    reply(-1, h->type != USBDEVFS_URB_TYPE_BULK ? EINVAL : ENOENT);
                } else if (d.driverBound) {
                    dropUrb(u);
                    reply(-1, EBUSY);
                } else if (!(ep & 0x80) && d.isPrinterPipe(ep) && d.stallOutIn > 0 && --d.stallOutIn == 0) {
                    // A stalled OUT transfer: the host sees a pipe error and
                    // the bytes never reach the printer.
                    ++d.stats.outTransfers[ep];
                    u.header()->actual_length = 0;
                    u.header()->status = -EPIPE;
                    c.done.push_back(u);
                    reply(0, 0);
                } else if (!(ep & 0x80) && d.isPrinterPipe(ep) && d.unplugLeft >= 0 && u.length() > d.unplugLeft) {
                    // The cable is pulled in the middle of this transfer:
                    // the bytes up to the limit reach the printer, the host
                    // learns that the device is gone.
                    const QByteArray bytes(reinterpret_cast<const char *>(u.bytes()), d.unplugLeft);
                    d.stats.outBytes += bytes.size();
                    if (d.session && !bytes.isEmpty())
                        d.session->feed(bytes);
                    dropUrb(u);
                    reply(-1, ENODEV);
                    UsbFace::Shared::pull(d, todo);
                } else if (!(ep & 0x80) && d.isPrinterPipe(ep)
                           && (d.pausing || (d.pauseLeft >= 0 && u.length() > d.pauseLeft))) {
                    // The printer stops reading: the bytes up to the mark
                    // go in, the rest of this transfer and every later one
                    // wait until the pause is over.
                    int taken = 0;
                    if (!d.pausing) {
                        taken = int(d.pauseLeft);
                        d.pauseLeft = -1;
                        d.pausing = true;
                        d.pauseEnds = Clock::now() + std::chrono::milliseconds(d.pauseMs);
                        sh.wake.notify_all();
                    }
                    ++d.stats.outTransfers[ep];
                    u.header()->actual_length = taken;
                    d.heldOut.push_back(u);
                    reply(0, 0);
                    if (d.session && taken > 0) {
                        d.stats.outBytes += taken;
                        sh.addReply(d, d.session->feed(QByteArray(reinterpret_cast<const char *>(u.bytes()), taken)), todo);
                    }
                } else if (!(ep & 0x80)) {
                    // Bulk OUT: the printer takes the bytes at once.
                    const QByteArray bytes(reinterpret_cast<const char *>(u.bytes()), u.length());
                    if (d.isPrinterPipe(ep) && d.unplugLeft >= 0)
                        d.unplugLeft -= bytes.size();
                    if (d.isPrinterPipe(ep) && d.pauseLeft >= 0)
                        d.pauseLeft -= bytes.size();
                    ++d.stats.outTransfers[ep];
                    u.header()->actual_length = int(bytes.size());
                    u.header()->status = 0;
                    c.done.push_back(u);
                    reply(0, 0);
                    if (d.isPrinterPipe(ep) && d.session && !bytes.isEmpty()) {
                        d.stats.outBytes += bytes.size();
                        sh.addReply(d, d.session->feed(bytes), todo);
                    }
                } else {
                    if (d.isPrinterPipe(ep))
                        d.pendingIn.push_back(u);
                    else
                        d.pendingOther.push_back(u);
                    reply(0, 0);
                    UsbFace::Shared::serve(d, todo);
                }
            }
        } else if (request == USBDEVFS_DISCARDURB) {
            gulong address = 0;
            std::memcpy(&address, arg->data, sizeof address);
            bool found = false;
            for (auto *queue : {&d.pendingIn, &d.pendingOther, &d.heldOut}) {
                for (auto u = queue->begin(); u != queue->end() && !found; ++u) {
                    if (u->owner == client && u->hostAddress == address) {
                        Urb x = *u;
                        queue->erase(u);
                        x.header()->status = -ENOENT;
                        // A held OUT transfer keeps what the printer took.
                        if (queue != &d.heldOut)
                            x.header()->actual_length = 0;
                        c.done.push_back(x);
                        ++d.stats.discarded;
                        found = true;
                        break;
                    }
                }
            }
            reply(found ? 0 : -1, found ? 0 : EINVAL);
        } else if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
            UMockdevIoctlData *p = readInt(sizeof(void *));
            if (!p) {
                reply(-1, EFAULT);
            } else {
                if (c.heldReap)
                    g_object_unref(c.heldReap);
                c.heldReap = p;
                c.heldBlocking = request == USBDEVFS_REAPURB;
                c.heldUntil = Clock::now() + std::chrono::milliseconds(UsbFace::kReapHoldMs);
                UsbFace::Shared::answerHeld(c, todo);
                if (c.heldReap)
                    sh.wake.notify_all();
            }
        } else if (request == USBDEVFS_SETINTERFACE || request == USBDEVFS_CLEAR_HALT
                   || request == USBDEVFS_RESETEP || request == USBDEVFS_RESET
                   || request == USBDEVFS_SETCONFIGURATION) {
            reply(0, 0);
        } else {
            reply(-1, ENOTTY);
        }
    }
    runCompletions(todo);
    return TRUE;
}

QByteArray buildDescriptors(const UsbPrinterConfig &c, const QMap<int, QString> &strings)
{
    auto indexOf = [&](const QString &text, int index) { return text.isEmpty() || !strings.contains(index) ? 0 : index; };
    QByteArray dev;
    dev.append(char(18));
    dev.append(char(0x01));
    put16(dev, 0x0200);
    dev.append(char(0x00));  // class per interface
    dev.append(char(0x00));
    dev.append(char(0x00));
    dev.append(char(64));
    put16(dev, c.vendorId);
    put16(dev, c.productId);
    put16(dev, 0x0100);
    dev.append(char(indexOf(c.manufacturer, 1)));
    dev.append(char(indexOf(c.product, 2)));
    dev.append(char(indexOf(c.serial, 3)));
    dev.append(char(1));

    QByteArray body;
    std::set<int> numbers;
    for (const UsbInterface &i : c.interfaces) {
        numbers.insert(i.number);
        body.append(char(9));
        body.append(char(0x04));
        body.append(char(i.number));
        body.append(char(i.alternate));
        body.append(char(i.endpoints.size()));
        body.append(char(i.interfaceClass));
        body.append(char(i.subClass));
        body.append(char(i.protocol));
        body.append(char(i.stringIndex));
        for (const UsbEndpoint &e : i.endpoints) {
            body.append(char(7));
            body.append(char(0x05));
            body.append(char(e.address));
            body.append(char(e.attributes));
            put16(body, e.maxPacket);
            body.append(char(0));
        }
    }
    QByteArray cfg;
    cfg.append(char(9));
    cfg.append(char(0x02));
    put16(cfg, quint16(9 + body.size()));
    cfg.append(char(numbers.size()));
    cfg.append(char(1));     // bConfigurationValue
    cfg.append(char(0));     // iConfiguration
    cfg.append(char(0xC0));  // self powered
    cfg.append(char(50));    // 100 mA
    return dev + cfg + body;
}

} // namespace

UsbFace::UsbFace(UMockdevTestbed *testbed)
    : m_testbed(testbed), m_shared(std::make_shared<Shared>())
{
    if (!m_testbed) {
        m_testbed = umockdev_testbed_new();
        m_ownsTestbed = true;
    }
    Shared *sh = m_shared.get();
    sh->timer = std::thread([sh] { sh->timerLoop(); });
}

UsbFace::~UsbFace()
{
    // The models may be gone already: their listeners find the face
    // closed (below) and do nothing.
    std::vector<Completion> todo;
    std::vector<std::shared_ptr<Device>> devices;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->closed = true;
        m_shared->delayed.clear();
        for (const auto &d : m_shared->devices) {
            for (auto &[key, c] : d->clients)
                if (c.heldReap) {
                    g_object_unref(c.heldReap);
                    c.heldReap = nullptr;
                    completeLater(todo, c.client, -1, ENODEV);
                }
            d->forgetHost();
            // The session reports held-back bytes to the model when it
            // ends: end it now, while the model is surely alive.
            d->session.reset();
        }
        devices.swap(m_shared->devices);
    }
    m_shared->wake.notify_all();
    m_shared->timer.join();
    runCompletions(todo);

    for (const auto &d : devices) {
        if (!d->unplugged && !m_ownsTestbed) {
            umockdev_testbed_detach_ioctl(m_testbed, d->devNode.toUtf8().constData(), nullptr);
            umockdev_testbed_remove_device(m_testbed, d->sysfsPath.toUtf8().constData());
        }
        // umockdev may still hold the handler (and through it the device
        // state) in its worker thread; the closures keep both alive.
        g_object_unref(d->handler);
    }
    if (m_ownsTestbed)
        g_object_unref(m_testbed);
}

UMockdevTestbed *UsbFace::testbed() const
{
    return m_testbed;
}

QString UsbFace::rootDir() const
{
    gchar *root = umockdev_testbed_get_root_dir(m_testbed);
    const QString dir = QString::fromUtf8(root);
    g_free(root);
    return dir;
}

int UsbFace::addPrinter(PrinterModel *model, const UsbPrinterConfig &config)
{
    const int id = plugIn(model, config, -1);
    if (id >= 0 && model) {
        std::lock_guard lock(m_shared->followMutex);
        const std::weak_ptr<Shared> shared = m_shared;
        const int listener = model->addLinkListener([this, shared, id, model](bool up) {
            const std::shared_ptr<Shared> sh = shared.lock();
            bool open = false;
            if (sh) {
                std::lock_guard lock(sh->mutex);
                open = !sh->closed;
            }
            if (open)
                restarted(id, model, up);
        });
        m_shared->followers[id] = {model, listener};
    }
    return id;
}

void UsbFace::restarted(int id, PrinterModel *model, bool up)
{
    if (!up) {
        pullOut(id);
        return;
    }
    UsbPrinterConfig config;
    {
        std::lock_guard lock(m_shared->mutex);
        const std::shared_ptr<Device> gone = m_shared->findDevice(id);
        if (!gone)
            return;
        // The id is the printer's, now on the bus again; the kernel hands
        // the device that comes back the next free number.
        gone->id = -1;
        config = gone->config;
        for (int step = 1; step < 126; ++step) {
            const int candidate = (gone->config.address - 2 + step) % 126 + 2;
            bool used = false;
            for (const auto &other : m_shared->devices)
                used = used || (!other->unplugged && other->config.bus == config.bus && other->config.address == candidate);
            if (!used) {
                config.address = candidate;
                break;
            }
        }
    }
    plugIn(model, config, id);
}

int UsbFace::plugIn(PrinterModel *model, const UsbPrinterConfig &config, int forcedId)
{
    auto d = std::make_shared<Device>();
    d->config = config;
    d->model = model;
    if (model)
        d->session = model->openSession(Medium::Usb);
    if (d->config.interfaces.isEmpty())
        d->config.interfaces.append(UsbInterface{});
    d->driverBound = config.kernelDriverBound;
    d->driverPresent = config.kernelDriverBound;

    if (!config.manufacturer.isEmpty())
        d->strings.insert(1, config.manufacturer);
    if (!config.product.isEmpty())
        d->strings.insert(2, config.product);
    if (!config.serial.isEmpty())
        d->strings.insert(3, config.serial);
    for (const UsbInterface &i : d->config.interfaces)
        if (i.stringIndex != 0 && !i.text.isEmpty())
            d->strings.insert(i.stringIndex, i.text);
    d->descriptors = buildDescriptors(d->config, d->strings);

    const QString sysName = config.sysName.isEmpty() ? QStringLiteral("%1-%2").arg(config.bus).arg(config.port)
                                                     : config.sysName;
    {
        std::lock_guard lock(m_shared->mutex);
        // Like the kernel, hand out the lowest free device number on the
        // bus (1 is the root hub); numbers of unplugged devices come back.
        int address = config.address;
        for (int candidate = 2; address <= 0 && candidate <= 127; ++candidate) {
            bool used = false;
            for (const auto &other : m_shared->devices)
                used = used || (!other->unplugged && other->config.bus == config.bus
                                && other->config.address == candidate);
            if (!used)
                address = candidate;
        }
        if (address <= 0) {
            qWarning("emu usb: bus %d is full", config.bus);
            return -1;
        }
        d->config.address = address;
        int next = 0;
        for (const auto &other : m_shared->devices)
            next = std::max(next, other->id + 1);
        d->id = forcedId >= 0 ? forcedId : next;
    }
    // The device as umockdev-record would describe it: sysfs attributes
    // (numeric ones end in a newline, as the kernel writes them), the raw
    // descriptors, udev properties and the device node.
    const QString busText = QString::number(config.bus).rightJustified(3, QLatin1Char('0'));
    const QString devText = QString::number(d->config.address).rightJustified(3, QLatin1Char('0'));
    d->devNode = QStringLiteral("/dev/bus/usb/%1/%2").arg(busText, devText);
    const QString vid = QString::number(config.vendorId, 16).rightJustified(4, QLatin1Char('0'));
    const QString pid = QString::number(config.productId, 16).rightJustified(4, QLatin1Char('0'));
    auto escaped = [](QString text) {
        return text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    QString record;
    record += QStringLiteral("P: /devices/%1\n").arg(sysName);
    record += QStringLiteral("N: bus/usb/%1/%2\n").arg(busText, devText);
    record += QStringLiteral("E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=%1\n").arg(d->devNode);
    record += QStringLiteral("E: BUSNUM=%1\nE: DEVNUM=%2\n").arg(busText, devText);
    record += QStringLiteral("E: PRODUCT=%1/%2/100\n").arg(config.vendorId, 0, 16).arg(config.productId, 0, 16);
    record += QStringLiteral("A: busnum=%1\\n\nA: devnum=%2\\n\n").arg(config.bus).arg(d->config.address);
    record += QStringLiteral("A: speed=480\\n\nA: bConfigurationValue=1\\n\nA: bNumConfigurations=1\\n\n");
    record += QStringLiteral("A: idVendor=%1\\n\nA: idProduct=%2\\n\n").arg(vid, pid);
    if (!config.manufacturer.isEmpty())
        record += QStringLiteral("A: manufacturer=%1\\n\n").arg(escaped(config.manufacturer));
    if (!config.product.isEmpty())
        record += QStringLiteral("A: product=%1\\n\n").arg(escaped(config.product));
    if (!config.serial.isEmpty())
        record += QStringLiteral("A: serial=%1\\n\n").arg(escaped(config.serial));
    record += QStringLiteral("H: descriptors=%1\n").arg(QString::fromLatin1(d->descriptors.toHex().toUpper()));

    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, record.toUtf8().constData(), &error)) {
        qWarning("emu usb: cannot add %s: %s", qPrintable(sysName), error ? error->message : "?");
        g_clear_error(&error);
        return -1;
    }
    d->sysfsPath = QStringLiteral("/sys/devices/") + sysName;
    const QByteArray devName = d->devNode.toUtf8();

    d->handler = umockdev_ioctl_base_new();
    g_signal_connect_data(d->handler, "handle-ioctl", G_CALLBACK(onHandleIoctl),
                          new Closure{m_shared, d}, freeClosure, GConnectFlags(0));
    g_signal_connect_data(d->handler, "client-connected", G_CALLBACK(onClientConnected),
                          new Closure{m_shared, d}, freeClosure, GConnectFlags(0));
    g_signal_connect_data(d->handler, "client-vanished", G_CALLBACK(onClientVanished),
                          new Closure{m_shared, d}, freeClosure, GConnectFlags(0));
    if (!umockdev_testbed_attach_ioctl(m_testbed, devName.constData(), d->handler, &error)) {
        qWarning("emu usb: cannot serve %s: %s", devName.constData(), error ? error->message : "?");
        g_clear_error(&error);
    }

    std::lock_guard lock(m_shared->mutex);
    m_shared->devices.push_back(d);
    return d->id;
}

void UsbFace::unplug(int id)
{
    {
        std::lock_guard lock(m_shared->followMutex);
        if (const auto it = m_shared->followers.find(id); it != m_shared->followers.end()) {
            it->second.first->removeLinkListener(it->second.second);
            m_shared->followers.erase(it);
        }
    }
    pullOut(id);
}

void UsbFace::pullOut(int id)
{
    std::vector<Completion> todo;
    std::shared_ptr<Device> d;
    {
        std::lock_guard lock(m_shared->mutex);
        d = m_shared->findDevice(id);
        if (!d || d->removed)
            return;
        d->removed = true;
        // Pulled mid-transfer already (unplugAfter): only the files go now.
        if (!d->unplugged)
            Shared::pull(*d, todo);
    }
    runCompletions(todo);
    const QByteArray path = d->sysfsPath.toUtf8();
    umockdev_testbed_detach_ioctl(m_testbed, d->devNode.toUtf8().constData(), nullptr);
    // umockdev sends uevents through libudev, which finds the testbed's
    // sysfs only inside the preloaded process; elsewhere (the launcher) the
    // host notices the unplug by the missing device node instead.
    if (qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev-preload")))
        umockdev_testbed_uevent(m_testbed, path.constData(), "remove");
    umockdev_testbed_remove_device(m_testbed, path.constData());
    // remove_device leaves the device node behind, and umockdev would then
    // hand the host's ioctls to its default handler: remove it, so that an
    // open fails with ENOENT as after a real unplug.
    QFile::remove(rootDir() + d->devNode);
}

QString UsbFace::sysfsPath(int id) const
{
    std::lock_guard lock(m_shared->mutex);
    auto d = m_shared->findDevice(id);
    return d ? d->sysfsPath : QString();
}

QString UsbFace::devNode(int id) const
{
    std::lock_guard lock(m_shared->mutex);
    auto d = m_shared->findDevice(id);
    return d ? d->devNode : QString();
}

UsbStats UsbFace::stats(int id) const
{
    std::vector<Completion> todo;
    UsbStats s;
    {
        std::lock_guard lock(m_shared->mutex);
        if (auto d = m_shared->findDevice(id)) {
            dropGoneClients(*d, todo);
            s = d->stats;
        }
    }
    runCompletions(todo);
    return s;
}

bool UsbFace::kernelDriverBound(int id) const
{
    std::lock_guard lock(m_shared->mutex);
    auto d = m_shared->findDevice(id);
    return d && d->driverBound;
}

void UsbFace::setKernelDriverBound(int id, bool bound)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id)) {
        d->driverBound = bound;
        d->driverPresent = d->driverPresent || bound;
    }
}

void UsbFace::setClaimRefused(int id, bool refused)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->claimRefused = refused;
}

void UsbFace::setStatusReadLength(int id, int bytes)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->statusBytes = std::clamp(bytes, 0, 4);
}

void UsbFace::stallOutTransfer(int id, int nth)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->stallOutIn = nth;
}

void UsbFace::pauseOutAfter(int id, qint64 bytes, int ms)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id)) {
        d->pauseLeft = std::max<qint64>(-1, bytes);
        d->pauseMs = ms;
    }
}

void UsbFace::unplugAfter(int id, qint64 bytes)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->unplugLeft = std::max<qint64>(-1, bytes);
}

void UsbFace::queueReply(int id, const QByteArray &bytes)
{
    std::vector<Completion> todo;
    {
        std::lock_guard lock(m_shared->mutex);
        if (auto d = m_shared->findDevice(id)) {
            d->inQueue.append(bytes);
            Shared::serve(*d, todo);
        }
    }
    runCompletions(todo);
}

void UsbFace::clearPendingReplies(int id)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->inQueue.clear();
}

void UsbFace::setReplyFilter(int id, std::function<QByteArray(const QByteArray &)> filter)
{
    std::lock_guard lock(m_shared->mutex);
    if (auto d = m_shared->findDevice(id))
        d->replyFilter = std::move(filter);
}

} // namespace emu
