#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "region/SelectionLabel.h"

namespace {

// The text read in the code page it is stored in, as UTF-8.
std::string Cp936ToUtf8(const std::string& text) {
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "<no CP936 converter>";
    std::string in = text, out(text.size() * 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) return "<not valid CP936>";
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

TEST(SelectionLabelText, ReadsAsWidthAndHeightInCodePage936) {
    EXPECT_EQ(Cp936ToUtf8(FormatLabelText({10, 20, 109, 69})), "X=10 Y=20 宽：100 高：50)");
    EXPECT_EQ(Cp936ToUtf8(FormatLabelText({-976, 250, 1023, 349})),
              "X=-976 Y=250 宽：2000 高：100)");
    EXPECT_EQ(Cp936ToUtf8(FormatLabelText({5, 5, 5, 5})), "X=5 Y=5 宽：1 高：1)");
}
