#include "QrvStringHashMap.h"

#include "QrvErrors.h"

#include <climits>
#include <utility>
#include <vector>

namespace qrv
{

namespace
{

constexpr unsigned char Fold(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

// The ELF hash of the System V ABI over the (optionally folded) bytes.
template <bool Folded> std::uint32_t ElfHash(std::string_view key)
{
    std::uint32_t h = 0;
    for (char ch : key) {
        auto c = static_cast<unsigned char>(ch);
        h = (h << 4) + (Folded ? Fold(c) : c);
        std::uint32_t g = h & 0xF0000000u;
        if (g != 0) h = (h ^ (g >> 24)) & 0x0FFFFFFFu;
    }
    return h;
}

// Byte-wise unsigned comparison: the difference of the first differing
// bytes, else the difference of the lengths.
template <bool Folded> int CompareBytes(std::string_view a, std::string_view b)
{
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (Folded) {
            ca = Fold(ca);
            cb = Fold(cb);
        }
        if (ca != cb) return int(ca) - int(cb);
    }
    // Keys are formula names, far shorter than INT_MAX; clamp all the same
    // so the sign is right whatever the lengths.
    if (a.size() == b.size()) return 0;
    std::size_t d = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    int magnitude = d > INT_MAX ? INT_MAX : int(d);
    return a.size() > b.size() ? magnitude : -magnitude;
}

} // namespace

std::uint32_t TCaseSensitiveTraits::Hash(std::string_view key) const
{
    return ElfHash<false>(key);
}
int TCaseSensitiveTraits::Compare(std::string_view a, std::string_view b) const
{
    return CompareBytes<false>(a, b);
}
std::uint32_t TCaseInsensitiveTraits::Hash(std::string_view key) const
{
    return ElfHash<true>(key);
}
int TCaseInsensitiveTraits::Compare(std::string_view a, std::string_view b) const
{
    return CompareBytes<true>(a, b);
}

TStringHashMapTraits& CaseSensitiveTraits()
{
    static TCaseSensitiveTraits traits;
    return traits;
}

TStringHashMapTraits& CaseInsensitiveTraits()
{
    static TCaseInsensitiveTraits traits;
    return traits;
}

// ---- the map --------------------------------------------------------------

TStringHashMap::TStringHashMap(TStringHashMapTraits* traits, std::uint32_t hashSize) : traits_(traits)
{
    QRV_ASSERT(traits != nullptr, MessageText(Msg::HashNeedsTraits));
    SetHashSize(hashSize);
}

TStringHashMap::~TStringHashMap()
{
    Clear();
    // Count is 0 now, so shrinking to no buckets cannot fail.
    buckets_.reset();
    hashSize_ = 0;
}

TStringHashMap::THashNode* TStringHashMap::AllocateNode()
{
    return new THashNode;
}
void TStringHashMap::FreeNode(THashNode* node)
{
    delete node;
}

TStringHashMap::THashNode** TStringHashMap::FindLink(std::string_view key) const
{
    THashNode** link = &buckets_[traits_->Hash(key) % hashSize_];
    while (*link != nullptr) {
        int c = traits_->Compare(key, (*link)->Key);
        if (c == 0) break;
        link = c < 0 ? &(*link)->Left : &(*link)->Right;
    }
    return link;
}

void TStringHashMap::Add(std::string_view key, void* value)
{
    // With no buckets a key has nowhere to go: the bucket index would be a
    // remainder of a division by zero.
    if (hashSize_ == 0) throw EDivByZero();
    THashNode** link = FindLink(key);
    if (*link != nullptr) throw EQrvStringHashMapError(Msg::DuplicateHashEntry, {key});
    THashNode* node = AllocateNode();
    node->Key.assign(key);
    node->Value = value;
    *link = node;
    ++count_;
}

bool TStringHashMap::Find(std::string_view key, void*& value) const
{
    if (hashSize_ == 0) return false;
    THashNode* node = *FindLink(key);
    if (node == nullptr) return false;
    value = node->Value;
    return true;
}

void TStringHashMap::Iterate(void* userData, TIterateFunc func)
{
    std::vector<THashNode*> pending; // pre-order: entry, left subtree, right subtree
    for (std::uint32_t i = 0; i < hashSize_; ++i) {
        if (buckets_[i] != nullptr) pending.push_back(buckets_[i]);
        while (!pending.empty()) {
            THashNode* node = pending.back();
            pending.pop_back();
            if (!func(userData, node->Key, node->Value)) return;
            if (node->Right != nullptr) pending.push_back(node->Right);
            if (node->Left != nullptr) pending.push_back(node->Left);
        }
    }
}

// Frees a tree children first. The tree is unlinked as it goes: a node's
// left subtree is rotated up until the node has none, then the node is freed
// and its right subtree continues. Constant extra space, no recursion.
void TStringHashMap::FreeTree(THashNode* root)
{
    while (root != nullptr) {
        if (root->Left != nullptr) {
            THashNode* left = root->Left;
            root->Left = left->Right;
            left->Right = root;
            root = left;
        } else {
            THashNode* right = root->Right;
            FreeNode(root);
            root = right;
        }
    }
}

void TStringHashMap::Clear()
{
    for (std::uint32_t i = 0; i < hashSize_; ++i) {
        FreeTree(buckets_[i]);
        buckets_[i] = nullptr;
    }
    count_ = 0;
}

void TStringHashMap::SetHashSize(std::uint32_t size)
{
    if (size == hashSize_) return;
    if (hashSize_ == 0) {
        buckets_ = std::make_unique<THashNode*[]>(size);
        hashSize_ = size;
        return;
    }
    if (size == 0) {
        if (count_ != 0) throw EQrvStringHashMapError(Msg::HashMustBeEmpty);
        buckets_.reset();
        hashSize_ = 0;
        return;
    }
    // Collect every pair, build the new bucket array, then re-add. The new
    // array is allocated before anything is freed, so a failed allocation
    // leaves the map as it was.
    std::vector<std::pair<std::string, void*>> pairs;
    pairs.reserve(count_);
    Iterate(&pairs, [](void* list, const std::string& key, void*& value) {
        static_cast<std::vector<std::pair<std::string, void*>>*>(list)->emplace_back(key, value);
        return true;
    });
    auto fresh = std::make_unique<THashNode*[]>(size);
    Clear();
    buckets_ = std::move(fresh);
    hashSize_ = size;
    // Each collected pair went to the front of the list, so the last one
    // collected is added first.
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it)
        Add(it->first, it->second);
}

} // namespace qrv
