#pragma once
// The threads the host shades, rasterises and writes images on. oneTBB by default; a build with
// VML_PLAIN_THREADS runs the same loops on plain std::thread workers instead, so that
// ThreadSanitizer, which cannot see inside an uninstrumented oneTBB, judges every thread the host
// starts. Both give each index to exactly one thread, so results never depend on the choice.

#include <functional>
#include <memory>

namespace standalone {

class ShadingThreads {
public:
    // `threads` <= 0: one per core. More than the cores is honoured (oneTBB allows no more than the
    // cores unless told, which this object does for its lifetime).
    explicit ShadingThreads(int threads = 0);
    ~ShadingThreads();
    ShadingThreads(const ShadingThreads&) = delete;
    ShadingThreads& operator=(const ShadingThreads&) = delete;

    // The most threads a loop runs on.
    int concurrency() const;
    // Calls body(i) once for every i in [begin, end), indices spread over the threads one at a
    // time (rows differ in cost too much for fixed blocks); returns when all are done.
    void forEach(int begin, int end, const std::function<void(int)>& body);

private:
    struct Backend;
    std::unique_ptr<Backend> backend_;
};

// The thread count a loop gets when it names none.
int defaultThreadCount();

}  // namespace standalone
