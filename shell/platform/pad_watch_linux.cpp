// On Linux the controllers are the event devices under /dev/input that have a pad's or a
// joystick's buttons. A thread of the watch's own sleeps in poll() on them and on the folder
// (a controller plugged in or out), and wakes the game when one of them has something to say.
#include "shell/platform/pad_watch.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orval {
namespace {

// A device appears before the desktop has let the player's programs open it, and SDL hears of
// it only then: after a change in the folder the game looks again a few times.
constexpr int kLookAgainMs[] = {250, 1000, 2500};

// A file descriptor of the watch's own, closed with its owner.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Descriptor gone(std::move(*this));
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Closes the listing of the folder of devices with its owner.
struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool isController(int fd) {
    constexpr std::size_t kBits = 8 * sizeof(unsigned long);
    unsigned long keys[KEY_MAX / kBits + 1] = {};
    if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys) < 0) return false;
    for (unsigned code = BTN_JOYSTICK; code <= BTN_THUMBR; ++code)
        if (keys[code / kBits] & (1UL << (code % kBits))) return true;
    return false;
}

// Reads what is waiting; false when the device is gone.
bool drain(int fd) {
    char buffer[4096];
    while (true) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) continue;
        return got < 0 && (errno == EAGAIN || errno == EINTR);
    }
}

}  // namespace

struct PadWatch::Watcher {
    std::function<void()> wake;
    std::string folderPath;
    std::atomic<bool> armed{true};
    Descriptor stopReader, stopWriter;          // a byte in this pipe ends the thread
    Descriptor folder;                          // inotify on the folder of devices, when it has one
    std::map<std::string, Descriptor> devices;  // the controllers among the event devices, by path
    std::vector<std::chrono::steady_clock::time_point> lookAgain;
    std::thread thread;

    void fire() {
        if (armed.exchange(false)) wake();
    }

    void rescan() {
        const std::unique_ptr<DIR, FolderCloser> dir(opendir(folderPath.c_str()));
        if (!dir) return;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string name = entry->d_name;
            const std::string path = folderPath + "/" + name;
            if (name.rfind("event", 0) != 0 || devices.contains(path)) continue;
            Descriptor device(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
            if (!device || !isController(device.get())) continue;
            drain(device.get());
            devices.emplace(path, std::move(device));
        }
    }

    void run() {
        rescan();
        while (true) {
            std::vector<pollfd> fds{{stopReader.get(), POLLIN, 0}};
            if (folder) fds.push_back({folder.get(), POLLIN, 0});
            std::vector<std::string> paths;
            for (const auto& [path, device] : devices) {
                fds.push_back({device.get(), POLLIN, 0});
                paths.push_back(path);
            }
            int timeout = -1;
            const auto now = std::chrono::steady_clock::now();
            if (!lookAgain.empty()) {
                const auto wait =
                    std::chrono::ceil<std::chrono::milliseconds>(lookAgain.front() - now);
                timeout = static_cast<int>(std::max<long long>(0, wait.count()));
            }
            if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
            if (fds[0].revents) return;
            if (!lookAgain.empty() && std::chrono::steady_clock::now() >= lookAgain.front()) {
                lookAgain.erase(lookAgain.begin());
                fire();
            }
            std::size_t first = 1;
            if (folder && fds[first++].revents) {
                drain(folder.get());
                rescan();
                lookAgain.clear();
                for (const int ms : kLookAgainMs)
                    lookAgain.push_back(std::chrono::steady_clock::now() +
                                        std::chrono::milliseconds(ms));
                fire();
            }
            for (std::size_t i = first; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                if (!drain(fds[i].fd) || (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)))
                    devices.erase(paths[i - first]);  // closed with it
                fire();
            }
        }
    }
};

PadWatch::PadWatch(std::function<void()> wake, const std::filesystem::path& devices)
    : watcher_(std::make_unique<Watcher>()) {
    Watcher& w = *watcher_;
    w.wake = std::move(wake);
    w.folderPath = devices.empty() ? "/dev/input" : devices.string();
    int stop[2] = {-1, -1};
    if (pipe2(stop, O_CLOEXEC) != 0) {
        watcher_.reset();
        return;
    }
    w.stopReader = Descriptor(stop[0]);
    w.stopWriter = Descriptor(stop[1]);
    w.folder = Descriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (w.folder && inotify_add_watch(w.folder.get(), w.folderPath.c_str(),
                                      IN_CREATE | IN_DELETE | IN_ATTRIB) < 0)
        w.folder = Descriptor();  // no folder of devices: none can come
    w.thread = std::thread([&w] { w.run(); });
}

PadWatch::~PadWatch() {
    if (!watcher_) return;
    Watcher& w = *watcher_;
    const char stop = 0;
    while (write(w.stopWriter.get(), &stop, 1) < 0 && errno == EINTR) {
    }
    w.thread.join();  // the descriptors close with the watcher, once nothing polls them
}

bool PadWatch::watching() const { return watcher_ != nullptr; }

void PadWatch::rearm() {
    if (watcher_) watcher_->armed = true;
}

}  // namespace orval
