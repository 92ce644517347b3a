// A string-keyed map: a fixed number of buckets, each the root of an
// unbalanced binary search tree ordered by the traits' Compare.
//
// Every tree walk (lookup, iteration, clearing) is a loop with an explicit
// stack, never recursion, so a degenerate tree of thousands of keys in one
// bucket costs time but cannot overflow the call stack.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qrv
{

// The hashing and ordering policy of a map.
class TStringHashMapTraits
{
public:
    virtual ~TStringHashMapTraits() = default;
    virtual std::uint32_t Hash(std::string_view key) const = 0;
    // Negative, zero or positive as a sorts before, with or after b.
    virtual int Compare(std::string_view a, std::string_view b) const = 0;
};

// The ELF hash of the bytes; keys ordered byte by byte as unsigned values,
// a prefix before its extensions.
class TCaseSensitiveTraits final : public TStringHashMapTraits
{
public:
    std::uint32_t Hash(std::string_view key) const override;
    int Compare(std::string_view a, std::string_view b) const override;
};

// The same with "a".."z" folded to upper case; no other byte is folded.
class TCaseInsensitiveTraits final : public TStringHashMapTraits
{
public:
    std::uint32_t Hash(std::string_view key) const override;
    int Compare(std::string_view a, std::string_view b) const override;
};

// The shared instances, created on first use and kept to program end.
TStringHashMapTraits& CaseSensitiveTraits();
TStringHashMapTraits& CaseInsensitiveTraits();

// The map stores untyped references; its users know what they stored.
class TStringHashMap
{
public:
    struct THashNode {
        std::string Key;
        void* Value = nullptr;
        THashNode* Left = nullptr;
        THashNode* Right = nullptr;
    };

    // Called for each entry by Iterate; returning false stops the whole
    // iteration at once. The value may be changed through the reference.
    using TIterateFunc = bool (*)(void* userData, const std::string& key, void*& value);

    // Raises the assertion failure "HashList must have traits" without
    // traits. The traits are not owned.
    TStringHashMap(TStringHashMapTraits* traits, std::uint32_t hashSize);
    TStringHashMap(const TStringHashMap&) = delete;
    TStringHashMap& operator=(const TStringHashMap&) = delete;
    virtual ~TStringHashMap();

    // Raises "Duplicate hash list entry: <key>" when the key is present.
    void Add(std::string_view key, void* value);
    // True and the value when the key is present.
    bool Find(std::string_view key, void*& value) const;
    void Iterate(void* userData, TIterateFunc func);
    // Frees every entry; the buckets stay.
    void Clear();

    std::uint32_t HashSize() const { return hashSize_; }
    // Changes the bucket count, re-adding every entry. Setting 0 on a map
    // that holds entries raises "HashList: must be empty to set size to
    // zero" and leaves the map unchanged.
    void SetHashSize(std::uint32_t size);
    std::uint32_t Count() const { return count_; }
    const TStringHashMapTraits& Traits() const { return *traits_; }

protected:
    virtual THashNode* AllocateNode();
    virtual void FreeNode(THashNode* node);

private:
    // The link that holds the key's entry, or the empty link where it would
    // go. Needs at least one bucket.
    THashNode** FindLink(std::string_view key) const;
    void FreeTree(THashNode* root);

    TStringHashMapTraits* traits_;
    std::uint32_t hashSize_ = 0;
    std::uint32_t count_ = 0;
    std::unique_ptr<THashNode*[]> buckets_;
};

} // namespace qrv
