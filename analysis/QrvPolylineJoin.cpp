#include "QrvPolylineJoin.h"

#include <array>

namespace qrv
{

void TPathList::Add(std::initializer_list<std::int32_t> path)
{
    Vertices.insert(Vertices.end(), path.begin(), path.end());
    Close();
}

namespace
{

constexpr std::int32_t kFree = -1;

// A path's end: path number * 2 + (0 for its first vertex, 1 for its last).
class TJoiner
{
public:
    TJoiner(const std::vector<TPlanePoint>& vertices, const TPathList& paths)
        : vertices_(vertices), paths_(paths), ends_(vertices.size(), {kFree, kFree}),
          used_(paths.Count(), false)
    {
        for (std::size_t p = 0; p < paths.Count(); ++p)
            for (int end = 0; end < 2; ++end) {
                std::array<std::int32_t, 2>& slots = ends_[EndVertex(p, end)];
                const std::int32_t code = static_cast<std::int32_t>(p * 2 + end);
                if (slots[0] == kFree)
                    slots[0] = code;
                else if (slots[1] == kFree)
                    slots[1] = code;
            }
    }

    std::vector<TPolyline> Run()
    {
        std::vector<TPolyline> lines;
        for (std::size_t p = 0; p < paths_.Count(); ++p) {
            if (used_[p]) continue;
            used_[p] = true;
            std::vector<std::int32_t> forward(Begin(p), End(p));
            const bool closed = Extend(p, 1, forward);
            std::vector<std::int32_t> backward;
            if (!closed) Extend(p, 0, backward);
            TPolyline line;
            line.reserve(forward.size() + backward.size());
            for (auto it = backward.rbegin(); it != backward.rend(); ++it)
                Append(line, *it);
            for (std::int32_t v : forward)
                Append(line, v);
            if (line.size() >= 2) lines.push_back(std::move(line));
        }
        return lines;
    }

private:
    const std::int32_t* Begin(std::size_t p) const { return paths_.Vertices.data() + paths_.Starts[p]; }
    const std::int32_t* End(std::size_t p) const { return paths_.Vertices.data() + paths_.Starts[p + 1]; }
    std::int32_t EndVertex(std::size_t p, int end) const { return end == 0 ? *Begin(p) : *(End(p) - 1); }

    // Follows the line from end `end` of path `first`, appending the
    // vertices met after it. Whether it came back to `first`.
    bool Extend(std::size_t first, int end, std::vector<std::int32_t>& out)
    {
        std::size_t path = first;
        for (;;) {
            const std::int32_t here = static_cast<std::int32_t>(path * 2 + end);
            const std::array<std::int32_t, 2>& slots = ends_[EndVertex(path, end)];
            const std::int32_t next = slots[0] == here ? slots[1] : slots[1] == here ? slots[0] : kFree;
            if (next == kFree) return false;
            const std::size_t q = static_cast<std::size_t>(next / 2);
            const int qEnd = next % 2;
            if (q == first) return true;
            if (used_[q]) return false;
            used_[q] = true;
            // Skip the shared vertex; walk q away from it.
            if (qEnd == 0)
                out.insert(out.end(), Begin(q) + 1, End(q));
            else
                for (const std::int32_t* v = End(q) - 1; v-- != Begin(q);)
                    out.push_back(*v);
            path = q;
            end = 1 - qEnd;
        }
    }

    void Append(TPolyline& line, std::int32_t v) const
    {
        const TPlanePoint& p = vertices_[static_cast<std::size_t>(v)];
        if (line.empty() || !(line.back() == p)) line.push_back(p);
    }

    const std::vector<TPlanePoint>& vertices_;
    const TPathList& paths_;
    std::vector<std::array<std::int32_t, 2>> ends_;
    std::vector<bool> used_;
};

} // namespace

std::vector<TPolyline> JoinPaths(const std::vector<TPlanePoint>& vertices, const TPathList& paths)
{
    return TJoiner(vertices, paths).Run();
}

} // namespace qrv
