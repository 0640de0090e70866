#pragma once

#include <memory>
#include <mutex>

namespace tidvale::platform {

// The backend of this operating system for interface I, taken from systemBackends()
// (SystemServices.cpp).
template <class I> std::shared_ptr<I> makeSystemService();

// The one current backend of an operating-system service. The system's own backend is
// created on first use; tests install a fake with set() (nullptr brings the system's
// back). Each interface has its own header and slot, so adding a service touches no
// other.
template <class I> class Service {
public:
    static std::shared_ptr<I> get()
    {
        std::lock_guard guard(mutex());
        auto& s = slot();
        if (!s)
            s = makeSystemService<I>();
        return s;
    }

    static void set(std::shared_ptr<I> backend)
    {
        std::lock_guard guard(mutex());
        slot() = std::move(backend);
    }

private:
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::shared_ptr<I>& slot()
    {
        static std::shared_ptr<I> s;
        return s;
    }
};

// Installs a backend for the life of the object and puts the previous one back.
template <class I> class ScopedService {
public:
    explicit ScopedService(std::shared_ptr<I> backend)
        : saved_(Service<I>::get())
    {
        Service<I>::set(std::move(backend));
    }
    ~ScopedService() { Service<I>::set(saved_); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    std::shared_ptr<I> saved_;
};

} // namespace tidvale::platform
