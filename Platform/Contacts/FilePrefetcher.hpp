#pragma once

#include "Platform/Contacts/CardFile.hpp"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Platform {

// One file's bytes as read ahead of the parser, and the file they were read from.
struct PrefetchedFile {
    enum class State { read, unreadable, leftToParser };
    State state = State::leftToParser;
    std::string bytes;
    CardFileIdentity identity; // of what was opened, when it could be
};

// Opens and reads the small files of a folder on a thread of its own, ahead of the thread that
// parses them: in a synced collection of one file per card, opening, reading and closing the
// files is a third of the time, and this way it overlaps with the parsing. The files come out in
// their order, a batch at a time, and only a few batches wait, so few bytes are in flight. A file
// of a megabyte or more is left to the parser, whose reader maps it. When no thread can be
// started, each batch is read when it is asked for. What is no regular file (a FIFO or a folder in
// a card's place) is left to the parser, whose reader says so.
class FilePrefetcher {
public:
    struct Batch {
        std::size_t first = 0; // the index of its first file
        std::vector<PrefetchedFile> files;
    };

    // `files` (paths below the folder) and the open `folder` must outlive the prefetcher.
    FilePrefetcher(const std::vector<std::string>& files, int folder);
    // Stops reading ahead and waits for the thread.
    ~FilePrefetcher();

    FilePrefetcher(const FilePrefetcher&) = delete;
    FilePrefetcher& operator=(const FilePrefetcher&) = delete;

    // The next files in order; none once every file was handed out. Rethrows what stopped the thread.
    Batch next();

private:
    static constexpr std::size_t kBatchFiles = 64;
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
    static constexpr std::size_t kBatchesAhead = 4;

    void run();
    // The files from `from` on, up to a batch's worth; moves `from` past them.
    Batch readBatch(std::size_t& from) const;
    PrefetchedFile prefetch(const std::string& file) const;

    const std::vector<std::string>& files_;
    const int folder_;
    std::size_t handedOut_ = 0; // read on demand when there is no thread
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    bool stopping_ = false;
    bool finished_ = false;
    std::exception_ptr failure_;
    std::thread thread_; // started in the constructor body, once everything above is in place
};

} // namespace Platform
