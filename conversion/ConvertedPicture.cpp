// SPDX-License-Identifier: MIT
#include "conversion/ConvertedPicture.h"

#include <algorithm>

namespace pixtint {

ConvertedPicture::ConvertedPicture(const std::filesystem::path& source,
                                   const ConversionRequest& request)
    : file_(source)
    , plan_(planConversion(file_, request)) {
    if (plan_.rewritesWhole()) {
        convertFile(file_, request, [this](std::span<const std::uint8_t> bytes) {
            wholeBytes_.insert(wholeBytes_.end(), bytes.begin(), bytes.end());
        });
    } else if (plan_.walksPixels()) {
        rows_.emplace(plan_.layout);
    }
}

std::uint64_t ConvertedPicture::size() const {
    return plan_.rewritesWhole() ? wholeBytes_.size() : file_.size();
}

// A pixel's colour decides its bytes, so the range read is widened to whole pixels, then
// only the asked part is handed back. The head (a recoloured palette) lies over the bytes.
std::size_t ConvertedPicture::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (plan_.rewritesWhole()) {
        const std::uint64_t from = std::min<std::uint64_t>(offset, wholeBytes_.size());
        const std::size_t count = std::min<std::uint64_t>(buffer.size(), wholeBytes_.size() - from);
        std::copy_n(wholeBytes_.begin() + static_cast<std::ptrdiff_t>(from), count, buffer.begin());
        return count;
    }
    const std::uint64_t begin = rows_ ? rows_->boundaryAtOrBefore(offset) : offset;
    const std::uint64_t end =
        rows_ ? rows_->boundaryAtOrAfter(offset + buffer.size()) : offset + buffer.size();
    std::vector<std::uint8_t> whole(end - begin);
    whole.resize(file_.readAt(begin, whole));
    if (rows_) {
        WalkCounts ignored = plan_.colours.freshCounts();
        rows_->recolour(whole, begin, plan_.colours, ignored);
    }
    for (std::uint64_t at = begin;
         at < std::min<std::uint64_t>(plan_.headEnd, begin + whole.size()); ++at) {
        whole[at - begin] = plan_.head[at];
    }
    const std::size_t lead = offset - begin;
    const std::size_t count =
        whole.size() > lead ? std::min(buffer.size(), whole.size() - lead) : 0;
    std::copy_n(whole.begin() + static_cast<std::ptrdiff_t>(std::min(lead, whole.size())), count,
                buffer.begin());
    return count;
}

} // namespace pixtint
