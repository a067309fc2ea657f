#include "platform/ParallelParts.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

std::size_t UsefulParts() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp<std::size_t>(cores, 1, 8);
}

void RunParts(std::size_t count, const std::function<void(std::size_t)>& part) {
    std::vector<std::exception_ptr> failed(count);
    const auto run = [&](std::size_t i) {
        try {
            part(i);
        } catch (...) {
            failed[i] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::vector<std::size_t> here;   // parts whose thread could not be started
    if (count > 1) threads.reserve(count - 1);
    for (std::size_t i = 1; i < count; ++i) {
        try {
            threads.emplace_back(run, i);
        } catch (const std::system_error&) {
            here.push_back(i);
        }
    }
    if (count > 0) run(0);
    for (std::size_t i : here) run(i);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& e : failed)
        if (e) std::rethrow_exception(e);
}

}  // namespace platform
