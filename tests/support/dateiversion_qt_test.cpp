#include <dlfcn.h>

#include <QtGlobal>

#include <gtest/gtest.h>

#include <string>

#include "support/dateiversion.h"

namespace tarvendo {
namespace {

// The version in the real name of the Qt library this program runs with is
// the version Qt reports about itself.
TEST(gib_dateiversion, QtKernbibliothekNenntIhreEigeneVersion) {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&qVersion), &info), 0);
    ASSERT_NE(info.dli_fname, nullptr);
    EXPECT_EQ(gib_dateiversion(info.dli_fname), std::string(qVersion()) + ".0") << info.dli_fname;
}

}  // namespace
}  // namespace tarvendo
