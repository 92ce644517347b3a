// Shrinking a failing run: delta debugging (ddmin) over the list of event
// numbers. Each candidate list is replayed from the start by `fails`, which
// tells whether the failure is still there; the result is a list that fails
// and from which no single chunk of the last granularity, and no single
// event, can be removed without the failure going away.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace qrv::monkey
{

using TEventList = std::vector<std::size_t>;

// `failing` must fail. `budget` bounds the number of replays (each may be a
// whole program run); the shortest list found so far is returned when it is
// spent.
inline TEventList ShrinkFailing(TEventList failing, const std::function<bool(const TEventList&)>& fails,
                                std::size_t budget = 400)
{
    std::size_t chunks = 2;
    std::size_t replays = 0;
    while (failing.size() > 1 && replays < budget) {
        const std::size_t size = failing.size();
        chunks = std::min(chunks, size);
        const std::size_t chunk = (size + chunks - 1) / chunks;
        bool reduced = false;
        // First a chunk alone, then everything but a chunk.
        for (int pass = 0; pass < 2 && !reduced; ++pass) {
            for (std::size_t start = 0; start < size && replays < budget; start += chunk) {
                const std::size_t end = std::min(size, start + chunk);
                TEventList candidate;
                if (pass == 0) {
                    if (chunks == 2 && start == 0 && end == size) continue;
                    candidate.assign(failing.begin() + long(start), failing.begin() + long(end));
                } else {
                    candidate.assign(failing.begin(), failing.begin() + long(start));
                    candidate.insert(candidate.end(), failing.begin() + long(end), failing.end());
                }
                if (candidate.empty() || candidate.size() == size) continue;
                ++replays;
                if (fails(candidate)) {
                    failing = std::move(candidate);
                    chunks = pass == 0 ? 2 : std::max<std::size_t>(chunks - 1, 2);
                    reduced = true;
                    break;
                }
            }
        }
        if (reduced) continue;
        if (chunks >= size) break; // single events tried: minimal
        chunks = std::min(size, chunks * 2);
    }
    return failing;
}

} // namespace qrv::monkey
