#include "ImageStore.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace tafserver {

std::string_view kindSuffix(int kind)
{
    static constexpr std::string_view suffixes[kImageKinds] = {"planim", "altim", "emp", "infoaus"};
    return suffixes[kind];
}

std::string imagePath(std::string_view comune, std::string_view foglio, int pf, int kind,
                      std::string_view extension)
{
    char number[8];
    std::snprintf(number, sizeof number, "%02d", pf);
    std::string path = "immagini/";
    path += comune;
    path += '/';
    path += foglio;
    path += '/';
    path += number;
    path += '_';
    path += kindSuffix(kind);
    path += '.';
    path += extension;
    return path;
}

void writeFileAtomically(const std::filesystem::path &root, const std::string &relative,
                         std::string_view bytes, bool durable)
{
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path target = root / relative;
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec)
        throw std::runtime_error("impossibile creare " + target.parent_path().string());
    const std::filesystem::path temporary =
        target.string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("impossibile scrivere " + temporary.string());
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool ok = written == bytes.size() && (!durable || ::fsync(fd) == 0);
    ::close(fd);
    if (!ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw std::runtime_error("impossibile scrivere " + target.string());
    }
}

} // namespace tafserver
