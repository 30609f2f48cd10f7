#include "unlha32/lh5_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>

namespace unlha {

namespace {

constexpr int kNC = 510; // literals, then match lengths 3..256
constexpr int kNT = 19; // code-length codes
constexpr int kNP = 14; // position classes of an 8 KiB window
constexpr int kCBits = 9, kTBits = 5, kPBits = 4;
constexpr int kMaxBits = 16;
constexpr int kMinMatch = 3, kMaxMatch = 256;
constexpr int kWindow = 8192;
constexpr int kMaxDistance = kWindow - 1;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;
constexpr int kNiceLength = 128;
constexpr int kLazyLimit = 32;
constexpr size_t kBlockTokens = 32768;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>* out)
        : out_(out)
    {
    }
    void Put(int n, uint32_t value)
    {
        if (n == 0)
            return;
        acc_ = (acc_ << n) | (value & ((1u << n) - 1));
        bits_ += n;
        while (bits_ >= 8) {
            bits_ -= 8;
            out_->push_back(static_cast<uint8_t>(acc_ >> bits_));
        }
        acc_ &= (1u << bits_) - 1;
    }
    void Flush()
    {
        if (bits_ > 0)
            out_->push_back(static_cast<uint8_t>(acc_ << (8 - bits_)));
        bits_ = 0;
        acc_ = 0;
    }

private:
    std::vector<uint8_t>* out_;
    uint32_t acc_ = 0;
    int bits_ = 0;
};

// Huffman code lengths of at most kMaxBits for the symbols with a count; a count too
// skewed for that limit is flattened and the tree built again.
void BuildLengths(const uint32_t* counts, int n, uint8_t* lengths)
{
    std::vector<uint32_t> freq(counts, counts + n);
    for (;;) {
        std::fill(lengths, lengths + n, 0);
        struct Node {
            uint64_t weight;
            int index;
        };
        auto heavier = [](const Node& a, const Node& b) {
            return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
        };
        std::priority_queue<Node, std::vector<Node>, decltype(heavier)> heap(heavier);
        std::vector<int> parent(2 * n, -1);
        for (int i = 0; i < n; ++i) {
            if (freq[i] > 0)
                heap.push({ freq[i], i });
        }
        if (heap.size() < 2)
            return;
        int next = n;
        while (heap.size() > 1) {
            Node a = heap.top();
            heap.pop();
            Node b = heap.top();
            heap.pop();
            parent[a.index] = next;
            parent[b.index] = next;
            heap.push({ a.weight + b.weight, next });
            ++next;
        }
        bool fits = true;
        for (int i = 0; i < n; ++i) {
            if (freq[i] == 0)
                continue;
            int depth = 0;
            for (int p = parent[i]; p != -1; p = parent[p])
                ++depth;
            if (depth > kMaxBits)
                fits = false;
            lengths[i] = static_cast<uint8_t>(std::min(depth, 255));
        }
        if (fits)
            return;
        for (uint32_t& f : freq) {
            if (f > 0)
                f = (f >> 1) | 1;
        }
    }
}

// Canonical codes: shorter codes first, and within one length in symbol order, as the
// decoders rebuild them from the lengths alone.
void MakeCodes(const uint8_t* lengths, int n, uint16_t* codes)
{
    int count[kMaxBits + 2] = {};
    for (int i = 0; i < n; ++i)
        count[lengths[i]]++;
    count[0] = 0;
    uint32_t next[kMaxBits + 2] = {};
    uint32_t code = 0;
    for (int bits = 1; bits <= kMaxBits; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    for (int i = 0; i < n; ++i) {
        if (lengths[i])
            codes[i] = static_cast<uint16_t>(next[lengths[i]]++);
    }
}

int SingleSymbol(const uint32_t* counts, int n, int* used)
{
    int symbol = 0, number = 0;
    for (int i = 0; i < n; ++i) {
        if (counts[i]) {
            symbol = i;
            ++number;
        }
    }
    *used = number;
    return symbol;
}

int PositionClass(uint32_t offset)
{
    int p = 0;
    while (offset) {
        ++p;
        offset >>= 1;
    }
    return p;
}

class Encoder {
public:
    Encoder(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out)
        : data_(data)
        , size_(size)
        , limit_(limit)
        , out_(out)
        , bits_(out)
        , head_(1u << kHashBits, -1)
        , prev_(kWindow, -1)
    {
        symbols_.reserve(kBlockTokens);
        offsets_.reserve(kBlockTokens);
    }

    bool Run();

private:
    struct Match {
        int length = 0;
        int distance = 0;
    };

    uint32_t Hash(size_t pos) const
    {
        uint32_t v = data_[pos] | data_[pos + 1] << 8 | data_[pos + 2] << 16;
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    void Insert(size_t pos)
    {
        if (pos + kMinMatch > size_)
            return;
        uint32_t h = Hash(pos);
        prev_[pos & (kWindow - 1)] = head_[h];
        head_[h] = static_cast<int32_t>(pos);
    }

    // The longest earlier match at pos; pos is inserted into the chains.
    Match FindAndInsert(size_t pos, int goodEnough);

    void Literal(uint8_t c)
    {
        symbols_.push_back(c);
        offsets_.push_back(0);
        cFreq_[c]++;
    }
    void Copy(const Match& m)
    {
        int symbol = m.length - kMinMatch + 256;
        uint32_t offset = static_cast<uint32_t>(m.distance - 1);
        symbols_.push_back(static_cast<uint16_t>(symbol));
        offsets_.push_back(static_cast<uint16_t>(offset));
        cFreq_[symbol]++;
        pFreq_[PositionClass(offset)]++;
    }
    bool FlushBlockIfFull() { return symbols_.size() < kBlockTokens || SendBlock(); }
    bool SendBlock();
    void WritePtLengths(const uint8_t* lengths, int n, int nbits, int special);
    void WriteCLengths();

    const uint8_t* data_;
    size_t size_, limit_;
    std::vector<uint8_t>* out_;
    BitWriter bits_;
    std::vector<int32_t> head_, prev_;
    std::vector<uint16_t> symbols_, offsets_;
    uint32_t cFreq_[kNC] = {}, pFreq_[kNP] = {}, tFreq_[kNT] = {};
    uint8_t cLen_[kNC] = {}, pLen_[kNP] = {}, tLen_[kNT] = {};
    uint16_t cCode_[kNC] = {}, pCode_[kNP] = {}, tCode_[kNT] = {};
};

Encoder::Match Encoder::FindAndInsert(size_t pos, int goodEnough)
{
    Match best;
    if (pos + kMinMatch > size_)
        return best;
    const int maxLength = static_cast<int>(std::min<size_t>(kMaxMatch, size_ - pos));
    const uint8_t* here = data_ + pos;
    int32_t candidate = head_[Hash(pos)];
    int chain = kMaxChain;
    int32_t last = static_cast<int32_t>(pos);
    while (candidate >= 0 && candidate < last && chain-- > 0) {
        int distance = static_cast<int>(pos - candidate);
        if (distance > kMaxDistance)
            break;
        const uint8_t* there = data_ + candidate;
        if (there[best.length] == here[best.length] && there[0] == here[0] && there[1] == here[1]) {
            int length = 2;
            while (length < maxLength && there[length] == here[length])
                ++length;
            if (length > best.length) {
                best.length = length;
                best.distance = distance;
                if (length >= goodEnough || length == maxLength)
                    break;
            }
        }
        last = candidate;
        candidate = prev_[candidate & (kWindow - 1)];
    }
    Insert(pos);
    if (best.length < kMinMatch)
        best.length = 0;
    return best;
}

bool Encoder::Run()
{
    size_t pos = 0;
    Match current = FindAndInsert(0, kNiceLength);
    while (pos < size_) {
        if (current.length == 0) {
            Literal(data_[pos]);
            ++pos;
            current = FindAndInsert(pos, kNiceLength);
        } else if (current.length < kLazyLimit && pos + 1 < size_) {
            Match next = FindAndInsert(pos + 1, current.length + 1);
            if (next.length > current.length) {
                Literal(data_[pos]);
                ++pos;
                current = next;
            } else {
                Copy(current);
                for (size_t p = pos + 2; p < pos + current.length; ++p)
                    Insert(p);
                pos += current.length;
                current = FindAndInsert(pos, kNiceLength);
            }
        } else {
            Copy(current);
            for (size_t p = pos + 1; p < pos + current.length; ++p)
                Insert(p);
            pos += current.length;
            current = FindAndInsert(pos, kNiceLength);
        }
        if (!FlushBlockIfFull())
            return false;
    }
    if (!symbols_.empty() && !SendBlock())
        return false;
    bits_.Flush();
    return out_->size() < limit_;
}

void Encoder::WritePtLengths(const uint8_t* lengths, int n, int nbits, int special)
{
    while (n > 0 && lengths[n - 1] == 0)
        --n;
    bits_.Put(nbits, n);
    int i = 0;
    while (i < n) {
        int k = lengths[i++];
        if (k <= 6)
            bits_.Put(3, k);
        else
            bits_.Put(k - 3, 0xFFFEu); // "111", one more 1 for each step past 7, then 0
        if (i == special) {
            while (i < 6 && lengths[i] == 0)
                ++i;
            bits_.Put(2, i - 3);
        }
    }
}

void Encoder::WriteCLengths()
{
    int n = kNC;
    while (n > 0 && cLen_[n - 1] == 0)
        --n;
    bits_.Put(kCBits, n);
    int i = 0;
    while (i < n) {
        int k = cLen_[i++];
        if (k != 0) {
            bits_.Put(tLen_[k + 2], tCode_[k + 2]);
            continue;
        }
        int run = 1;
        while (i < n && cLen_[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (int j = 0; j < run; ++j)
                bits_.Put(tLen_[0], tCode_[0]);
        } else if (run <= 18) {
            bits_.Put(tLen_[1], tCode_[1]);
            bits_.Put(4, run - 3);
        } else if (run == 19) {
            bits_.Put(tLen_[0], tCode_[0]);
            bits_.Put(tLen_[1], tCode_[1]);
            bits_.Put(4, 15);
        } else {
            bits_.Put(tLen_[2], tCode_[2]);
            bits_.Put(kCBits, run - 20);
        }
    }
}

bool Encoder::SendBlock()
{
    bits_.Put(16, static_cast<uint32_t>(symbols_.size()));

    int cUsed = 0;
    int cSingle = SingleSymbol(cFreq_, kNC, &cUsed);
    std::memset(cLen_, 0, sizeof cLen_);
    if (cUsed >= 2) {
        BuildLengths(cFreq_, kNC, cLen_);
        MakeCodes(cLen_, kNC, cCode_);
        // The code lengths are themselves sent with a small Huffman code.
        std::memset(tFreq_, 0, sizeof tFreq_);
        int n = kNC;
        while (n > 0 && cLen_[n - 1] == 0)
            --n;
        for (int i = 0; i < n;) {
            int k = cLen_[i++];
            if (k != 0) {
                tFreq_[k + 2]++;
                continue;
            }
            int run = 1;
            while (i < n && cLen_[i] == 0) {
                ++i;
                ++run;
            }
            if (run <= 2) {
                tFreq_[0] += run;
            } else if (run <= 18) {
                tFreq_[1]++;
            } else if (run == 19) {
                tFreq_[0]++;
                tFreq_[1]++;
            } else {
                tFreq_[2]++;
            }
        }
        int tUsed = 0;
        int tSingle = SingleSymbol(tFreq_, kNT, &tUsed);
        std::memset(tLen_, 0, sizeof tLen_);
        if (tUsed >= 2) {
            BuildLengths(tFreq_, kNT, tLen_);
            MakeCodes(tLen_, kNT, tCode_);
            WritePtLengths(tLen_, kNT, kTBits, 3);
        } else {
            bits_.Put(kTBits, 0);
            bits_.Put(kTBits, tSingle);
        }
        WriteCLengths();
    } else {
        bits_.Put(kTBits, 0);
        bits_.Put(kTBits, 0);
        bits_.Put(kCBits, 0);
        bits_.Put(kCBits, cSingle);
    }

    int pUsed = 0;
    int pSingle = SingleSymbol(pFreq_, kNP, &pUsed);
    std::memset(pLen_, 0, sizeof pLen_);
    if (pUsed >= 2) {
        BuildLengths(pFreq_, kNP, pLen_);
        MakeCodes(pLen_, kNP, pCode_);
        WritePtLengths(pLen_, kNP, kPBits, -1);
    } else {
        bits_.Put(kPBits, 0);
        bits_.Put(kPBits, pSingle);
    }

    for (size_t i = 0; i < symbols_.size(); ++i) {
        int c = symbols_[i];
        bits_.Put(cLen_[c], cCode_[c]);
        if (c < 256)
            continue;
        uint32_t offset = offsets_[i];
        int p = PositionClass(offset);
        bits_.Put(pLen_[p], pCode_[p]);
        if (p > 1)
            bits_.Put(p - 1, offset); // the bits below the leading one
    }

    symbols_.clear();
    offsets_.clear();
    std::memset(cFreq_, 0, sizeof cFreq_);
    std::memset(pFreq_, 0, sizeof pFreq_);
    return out_->size() < limit_;
}

} // namespace

bool EncodeLh5(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out)
{
    out->clear();
    if (size == 0)
        return false;
    out->reserve(std::min(limit, size / 2 + 64));
    Encoder encoder(data, size, limit, out);
    return encoder.Run();
}

} // namespace unlha
