#pragma once
// Database connections shared by the server's threads: each request borrows one and gives it
// back; a connection that failed is dropped and a fresh one made on the next borrow.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace pirune::server {

template <class Connection>
class Pool {
 public:
  Pool(int size, std::function<std::unique_ptr<Connection>()> open)
      : open_(std::move(open)), free_(size) {}

  // Runs `work` with a connection; if it throws, the connection is not reused.
  template <class Work>
  auto with(Work&& work) {
    std::unique_ptr<Connection> connection = borrow();
    try {
      auto result = work(*connection);
      giveBack(std::move(connection));
      return result;
    } catch (...) {
      giveBack(nullptr);
      throw;
    }
  }

 private:
  std::unique_ptr<Connection> borrow() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return free_ > 0; });
    --free_;
    if (!idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      return connection;
    }
    lock.unlock();
    try {
      return open_();
    } catch (...) {
      giveBack(nullptr);
      throw;
    }
  }

  void giveBack(std::unique_ptr<Connection> connection) {
    {
      const std::lock_guard lock(mutex_);
      if (connection) {
        idle_.push_back(std::move(connection));
      }
      ++free_;
    }
    ready_.notify_one();
  }

  std::function<std::unique_ptr<Connection>()> open_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<std::unique_ptr<Connection>> idle_;
  int free_;
};

}  // namespace pirune::server
