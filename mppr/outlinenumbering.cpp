#include "mppr/outlinenumbering.h"

#include "mppr/project.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace mppr {

namespace {

// "1.2" and 3 give "1.2.3", allocated once.
QString childCode(const QString &parent, int number)
{
    char digits[12];
    const int count = int(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
    QString code(parent.size() + 1 + count, Qt::Uninitialized);
    QChar *out = std::copy(parent.cbegin(), parent.cend(), code.data());
    *out++ = QLatin1Char('.');
    for (int k = 0; k < count; ++k)
        *out++ = QLatin1Char(digits[k]);
    return code;
}

} // namespace

void numberOutline(const QHash<qint32, Task *> &all)
{
    // Siblings are numbered in ascending unique-ID order below their parent's number, and every
    // task without a real parent is "1". Ancestors of a numbered task take part even when they
    // are blank or short records; tasks on a parent cycle without a root keep their text.
    // Sorted by the hash's keys, which are the unique IDs, so that sorting reads no task. IDs
    // are mostly a dense run: they are then placed by value instead, and found the same way.
    // The hash is walked once: its nodes lie scattered, and each visit is a cache miss.
    std::vector<std::pair<qint32, Task *>> byId;
    byId.reserve(size_t(all.size()));
    qint64 lowest = 0;
    qint64 highest = -1;
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (byId.empty() || it.key() < lowest)
            lowest = it.key();
        if (byId.empty() || it.key() > highest)
            highest = it.key();
        byId.emplace_back(it.key(), it.value());
    }
    const qint64 span = highest - lowest + 1;
    QVector<Task *> tasks;
    tasks.reserve(all.size());
    std::vector<int> dense; // index in `tasks` of unique ID lowest + k, or -1
    if (!all.isEmpty() && span <= qint64(all.size()) * 4 + 4096) {
        std::vector<Task *> placed(size_t(span), nullptr);
        for (const auto &entry : byId)
            placed[size_t(entry.first - lowest)] = entry.second;
        byId.clear();
        dense.assign(size_t(span), -1);
        for (size_t k = 0; k < placed.size(); ++k) {
            if (placed[k]) {
                dense[k] = tasks.size();
                tasks.append(placed[k]);
            }
        }
    } else {
        std::sort(byId.begin(), byId.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &entry : byId)
            tasks.append(entry.second);
    }
    // Unique IDs are unique: a task is found by its place or by halving the sorted list.
    const auto indexOf = [&](qint32 uniqueId) {
        if (!dense.empty()) {
            const qint64 k = qint64(uniqueId) - lowest;
            return k >= 0 && k < qint64(dense.size()) ? dense[size_t(k)] : -1;
        }
        const auto it = std::lower_bound(
            byId.cbegin(), byId.cend(), uniqueId,
            [](const std::pair<qint32, Task *> &t, qint32 id) { return t.first < id; });
        return it != byId.cend() && it->first == uniqueId ? int(it - byId.cbegin()) : -1;
    };
    // Index of each task's parent, or -1 for a task without a real parent (a root).
    std::vector<int> parent(size_t(tasks.size()), -1);
    for (int i = 0; i < tasks.size(); ++i) {
        const Task *t = tasks.at(i);
        if (t->parentUniqueId != t->uniqueId)
            parent[size_t(i)] = indexOf(t->parentUniqueId);
    }

    enum State : quint8 { Unknown, Visiting, Member, Outside };
    std::vector<quint8> state(size_t(tasks.size()), Unknown);
    std::vector<int> chain;
    for (int i = 0; i < tasks.size(); ++i) {
        if (tasks.at(i)->blankRecord || tasks.at(i)->shortRecord || state[size_t(i)] != Unknown)
            continue;
        // Walk up to a root or to a task already decided; each task is visited once overall.
        chain.clear();
        quint8 verdict = Outside;
        for (int t = i;;) {
            if (state[size_t(t)] == Member || state[size_t(t)] == Outside) {
                verdict = state[size_t(t)];
                break;
            }
            if (state[size_t(t)] == Visiting)
                break; // a cycle without a root
            state[size_t(t)] = Visiting;
            chain.push_back(t);
            if (parent[size_t(t)] < 0) {
                verdict = Member;
                break;
            }
            t = parent[size_t(t)];
        }
        for (const int t : chain)
            state[size_t(t)] = verdict;
    }

    // Children in ascending unique-ID order, as the tasks are sorted: the children of task p
    // are children[first[p]] to children[first[p + 1] - 1].
    std::vector<int> first(size_t(tasks.size()) + 1, 0);
    std::vector<int> roots;
    for (int i = 0; i < tasks.size(); ++i) {
        if (state[size_t(i)] != Member)
            continue;
        if (parent[size_t(i)] < 0)
            roots.push_back(i);
        else
            ++first[size_t(parent[size_t(i)]) + 1];
    }
    for (size_t p = 1; p < first.size(); ++p)
        first[p] += first[p - 1];
    std::vector<int> children(size_t(first.back()));
    std::vector<int> filled(first.cbegin(), first.cend() - 1);
    for (int i = 0; i < tasks.size(); ++i) {
        if (state[size_t(i)] == Member && parent[size_t(i)] >= 0)
            children[size_t(filled[size_t(parent[size_t(i)])]++)] = i;
    }
    // Depth-first without recursion: parent chains can be as long as the task list.
    std::vector<int> pending(roots.crbegin(), roots.crend());
    for (const int root : roots)
        tasks.at(root)->code = QStringLiteral("1");
    while (!pending.empty()) {
        const int p = pending.back();
        pending.pop_back();
        const QString &prefix = tasks.at(p)->code;
        const int begin = first[size_t(p)];
        const int end = first[size_t(p) + 1];
        for (int n = begin; n < end; ++n)
            tasks.at(children[size_t(n)])->code = childCode(prefix, n - begin + 1);
        for (int n = end - 1; n >= begin; --n)
            pending.push_back(children[size_t(n)]);
    }
}

} // namespace mppr
