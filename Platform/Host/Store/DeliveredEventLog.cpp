#include "Platform/Host/Store/DeliveredEventLog.h"

#include <future>
#include <system_error>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/JsonFields.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFiles.h"

namespace dorvane::host {

namespace {

constexpr auto deliveredEventFields = [](auto& f, auto& delivered) {
    f.required("at", delivered.at);
    f.required("event", delivered.event, eventCodec);
    f.nullable("to", delivered.receiver);
    f.required("window", delivered.window);
    f.optional("beneath", delivered.beneath);
    f.required("entry", delivered.entry);
};

}  // namespace

json::Json DeliveredEvent::toJson() const { return json::writeFields(*this, deliveredEventFields); }

DeliveredEvent DeliveredEvent::fromJson(const json::Json& value) {
    return json::readFields<DeliveredEvent>(value, deliveredEventFields);
}

namespace {

void keepLast(std::vector<DeliveredEvent>& events) {
    if (events.size() > DeliveredEventLog::kLimit) {
        events.erase(events.begin(), events.end() - static_cast<std::ptrdiff_t>(DeliveredEventLog::kLimit));
    }
}

std::vector<DeliveredEvent> parseLines(const std::string& text) {
    std::vector<DeliveredEvent> events;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        try {
            events.push_back(DeliveredEvent::fromJson(json::parse(line)));
        } catch (const json::DecodeError&) {
        }
    }
    return events;
}

}  // namespace

void MemoryDeliveredEventLog::append(std::vector<DeliveredEvent> events) {
    std::lock_guard lock(mutex_);
    events_.insert(events_.end(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
    keepLast(events_);
}

std::vector<DeliveredEvent> MemoryDeliveredEventLog::read() {
    std::lock_guard lock(mutex_);
    return events_;
}

void MemoryDeliveredEventLog::clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

FileDeliveredEventLog::FileDeliveredEventLog(std::filesystem::path file, LockWait lockWait)
    : file_(std::move(file)), lockWait_(std::move(lockWait)) {}

FileDeliveredEventLog::~FileDeliveredEventLog() {
    // The writer drains what was appended before it joins.
    std::unique_ptr<dispatch::SerialQueue> writer;
    {
        std::lock_guard lock(mutex_);
        writer = std::move(writer_);
    }
    writer.reset();
}

void FileDeliveredEventLog::append(std::vector<DeliveredEvent> events) {
    if (events.empty()) return;
    std::lock_guard lock(mutex_);
    pending_.insert(pending_.end(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
    if (writeScheduled_) return;
    writeScheduled_ = true;
    if (!writer_) writer_ = std::make_unique<dispatch::SerialQueue>("delivered-events");
    writer_->post([this] { writePending(); });
}

void FileDeliveredEventLog::flush() {
    dispatch::SerialQueue* writer = nullptr;
    {
        std::lock_guard lock(mutex_);
        writer = writer_.get();
    }
    if (writer == nullptr) return;
    std::promise<void> written;
    auto done = written.get_future();
    writer->post([&written] { written.set_value(); });
    done.wait();
}

void FileDeliveredEventLog::writePending() {
    std::vector<DeliveredEvent> added;
    {
        std::lock_guard lock(mutex_);
        added.swap(pending_);
        writeScheduled_ = false;
    }
    try {
        rewrite(added, false);
    } catch (const std::exception&) {
        // A record of delivered events is no reason to fail the input: these are lost.
    }
}

void FileDeliveredEventLog::rewrite(const std::vector<DeliveredEvent>& added, bool clearFirst) {
    HostFileLock lock(file_.string() + ".lock", lockWait_);
    std::vector<DeliveredEvent> events;
    if (!clearFirst) {
        if (const auto text = readHostFile(file_)) events = parseLines(*text);
    }
    events.insert(events.end(), added.begin(), added.end());
    keepLast(events);
    std::string text;
    for (const auto& event : events) text += json::serialize(event.toJson()) + "\n";
    try {
        writeFileAtomically(file_, text);
    } catch (const std::system_error& error) {
        throw HostError("cannot write " + file_.string() + ": " + error.code().message());
    }
}

std::vector<DeliveredEvent> FileDeliveredEventLog::read() {
    flush();
    const auto text = readHostFile(file_);
    return text ? parseLines(*text) : std::vector<DeliveredEvent>{};
}

void FileDeliveredEventLog::clear() {
    flush();
    rewrite({}, true);
}

}  // namespace dorvane::host
