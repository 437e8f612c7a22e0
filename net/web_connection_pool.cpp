#include "net/web_connection_pool.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>

#include "platform/base/log.h"
#include "platform/base/thread.h"

namespace kestrova {
namespace {

constexpr char kComponent[] = "web server";
constexpr auto kFreeThreadLifetime = std::chrono::seconds(60);

// Closes a client's socket without the wait for the peer that its destructor would make; the client is
// turned away either way.
void Drop(std::unique_ptr<TcpSocket> client) {
    if (client) client->CloseSocket();
}

}  // namespace

std::shared_ptr<WebConnectionPool> WebConnectionPool::Create(
    size_t limit, std::shared_ptr<const WebConnectionSettings> settings) {
    return std::shared_ptr<WebConnectionPool>(new WebConnectionPool(limit, std::move(settings)));
}

WebConnectionPool::WebConnectionPool(size_t limit, std::shared_ptr<const WebConnectionSettings> settings)
    : limit_(std::max<size_t>(limit, 1)), settings_(std::move(settings)) {
    entries_.reserve(limit_);
}

void WebConnectionPool::Serve(std::unique_ptr<TcpSocket> client) {
    bool needsThread = false;
    {
        std::unique_lock<std::mutex> hold(mutex_);
        while (!closed_ && !HasRoom()) {
            if (!LetLongestIdleGo()) roomMade_.wait(hold);
        }
        if (closed_) {
            hold.unlock();
            Drop(std::move(client));
            return;
        }
        needsThread = freeThreads_ + leaving_ <= waiting_.size();
        waiting_.push_back(std::move(client));
        // A thread counts as free from its start: until it takes its client, the room it brings must not
        // be made a second time by letting an idle connection go.
        if (needsThread) {
            ++threads_;
            ++freeThreads_;
        }
    }
    if (!needsThread) {
        clientWaiting_.notify_one();
        return;
    }
    try {
        StartDetached([pool = shared_from_this()] { pool->RunThread(); });
        return;
    } catch (const std::system_error& error) {
        LogError(kComponent, std::string("no thread for a client: ") + error.what());
    }
    std::deque<std::unique_ptr<TcpSocket>> stranded;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        --threads_;
        --freeThreads_;
        // The other threads take the waiting clients in turn; with no thread at all, nobody would.
        if (threads_ == 0) stranded.swap(waiting_);
    }
    for (std::unique_ptr<TcpSocket>& waiting : stranded) Drop(std::move(waiting));
}

void WebConnectionPool::Close() {
    std::lock_guard<std::mutex> hold(mutex_);
    closed_ = true;
    clientWaiting_.notify_all();
    roomMade_.notify_all();
}

bool WebConnectionPool::MarkBusy(const TcpSocket& socket) {
    std::lock_guard<std::mutex> hold(mutex_);
    Entry* entry = Find(socket);
    if (!entry || entry->letGo) return false;
    entry->idleSince = 0;
    return true;
}

void WebConnectionPool::MarkIdle(const TcpSocket& socket) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (Entry* entry = Find(socket)) entry->idleSince = ++turn_;
    // A listener waiting for room may now let this one go.
    roomMade_.notify_all();
}

void WebConnectionPool::RunThread() {
    std::unique_lock<std::mutex> hold(mutex_);
    while (std::unique_ptr<TcpSocket> client = TakeClient(hold)) {
        hold.unlock();
        ServeWebConnection(*client, *settings_, *this);
        hold.lock();
        Unlist(*client);
        hold.unlock();
        // The connection is over whatever these report: the shutdown only lets the client see its end sooner.
        client->Shutdown(2, 5);
        client->CloseSocket();
        client.reset();
        hold.lock();
    }
    --threads_;
    roomMade_.notify_all();
}

std::unique_ptr<TcpSocket> WebConnectionPool::TakeClient(std::unique_lock<std::mutex>& hold) {
    // Whether a client came, the pool closed or the minute ran out, the queue tells what to do.
    clientWaiting_.wait_for(hold, kFreeThreadLifetime, [this] { return !waiting_.empty() || closed_; });
    --freeThreads_;
    // Clients handed over before a close are still served.
    if (waiting_.empty()) return nullptr;
    std::unique_ptr<TcpSocket> client = std::move(waiting_.front());
    waiting_.pop_front();
    entries_.push_back({client.get(), ++turn_, false});
    // A listener that found nobody idle to let go may let this one go now, rather than wait for some
    // connection to end by itself.
    roomMade_.notify_all();
    return client;
}

void WebConnectionPool::Unlist(const TcpSocket& socket) {
    Entry* entry = Find(socket);
    if (!entry) return;
    if (entry->letGo) --leaving_;
    *entry = entries_.back();
    entries_.pop_back();
    // Free from here on, in the same step that ends its leaving: the listener counts on this thread for a
    // client it handed over after letting the connection go, and must not let a second one go for it.
    ++freeThreads_;
    roomMade_.notify_all();
}

WebConnectionPool::Entry* WebConnectionPool::Find(const TcpSocket& socket) {
    for (Entry& entry : entries_)
        if (entry.socket == &socket) return &entry;
    return nullptr;
}

bool WebConnectionPool::HasRoom() const {
    return freeThreads_ + leaving_ > waiting_.size() || threads_ < limit_;
}

bool WebConnectionPool::LetLongestIdleGo() {
    Entry* longest = nullptr;
    for (Entry& entry : entries_) {
        if (entry.idleSince != 0 && !entry.letGo && (!longest || entry.idleSince < longest->idleSince))
            longest = &entry;
    }
    if (!longest) return false;
    longest->letGo = true;
    ++leaving_;
    // Wakes its thread from the wait for the next request; the thread then unlists it and closes it. A
    // shutdown fails only on a connection the peer has reset already, whose thread is awake anyway.
    longest->socket->Shutdown(2, 0);
    return true;
}

}  // namespace kestrova
