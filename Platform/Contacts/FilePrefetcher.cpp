#include "Platform/Contacts/FilePrefetcher.hpp"

#include "Platform/Contacts/AddressBookLogging.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace Platform {

FilePrefetcher::FilePrefetcher(const std::vector<std::string>& files, int folder)
    : files_(files), folder_(folder) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        qCDebug(lcAddressBook) << "reading the contacts without a thread ahead";
    }
}

FilePrefetcher::~FilePrefetcher() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

FilePrefetcher::Batch FilePrefetcher::next() {
    if (!thread_.joinable())
        return readBatch(handedOut_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !ready_.empty() || finished_; });
    if (ready_.empty()) {
        if (failure_)
            std::rethrow_exception(failure_);
        return {};
    }
    Batch batch = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return batch;
}

void FilePrefetcher::run() {
    std::exception_ptr failure;
    try {
        std::size_t from = 0;
        while (from < files_.size()) {
            Batch batch = readBatch(from);
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return ready_.size() < kBatchesAhead || stopping_; });
            if (stopping_)
                return;
            ready_.push_back(std::move(batch));
            lock.unlock();
            changed_.notify_all();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        failure_ = failure;
        finished_ = true;
    }
    changed_.notify_all();
}

FilePrefetcher::Batch FilePrefetcher::readBatch(std::size_t& from) const {
    Batch batch;
    batch.first = from;
    std::size_t bytes = 0;
    while (from < files_.size() && batch.files.size() < kBatchFiles && bytes < kBatchBytes) {
        batch.files.push_back(prefetch(files_[from++]));
        bytes += batch.files.back().bytes.size();
    }
    return batch;
}

PrefetchedFile FilePrefetcher::prefetch(const std::string& file) const {
    PrefetchedFile ahead;
    const int descriptor = openCardFile(folder_, file);
    if (descriptor < 0) {
        ahead.state = PrefetchedFile::State::unreadable;
        return ahead;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) < kMappedFrom) {
        ahead.identity = CardFileIdentity::of(info);
        ahead.bytes.resize(static_cast<std::size_t>(info.st_size));
        const auto filled = readInto(descriptor, ahead.bytes.data(), ahead.bytes.size());
        ahead.state = filled ? PrefetchedFile::State::read : PrefetchedFile::State::unreadable;
        ahead.bytes.resize(filled.value_or(0));
    }
    ::close(descriptor);
    return ahead;
}

} // namespace Platform
