#include "ParallelRun.h"

#include <QThread>
#include <memory>
#include <vector>

namespace cps {

void runInParallel(int count, const std::function<void(int)>& work) {
    if (count == 1) {
        work(0);
        return;
    }
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back(QThread::create([&work, i] { work(i); }));
        threads.back()->start();
    }
    for (auto& t : threads) t->wait();
}

}  // namespace cps
