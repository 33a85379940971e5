#include <gtest/gtest.h>

#include <windows.h>

#include "support/UcvSysExceptions.h"

using namespace rz;

TEST(SysExceptions, RaisedErrorsCarryTheLastSystemError) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    try {
        RaiseLastOSError();
        FAIL() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Code, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
        std::string text = e.what();
        const std::string prefix = "System Error.  Code: 5.\r\n";
        ASSERT_GT(text.size(), prefix.size()) << "the system's text follows";
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_NE(text.back(), '\n');
    }

    ::SetLastError(ERROR_ALREADY_EXISTS);
    try {
        RaiseInOutError("Cannot create folder", "C:\\data\\shortcuts");
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code, static_cast<unsigned long>(ERROR_ALREADY_EXISTS));
        std::string text = e.what();
        EXPECT_NE(text.find("Cannot create folder"), std::string::npos);
        EXPECT_NE(text.find("C:\\data\\shortcuts"), std::string::npos);
        EXPECT_NE(text.find("183"), std::string::npos);
        EXPECT_EQ(text.find('\n'), std::string::npos) << "one line, fit for the log";
    }
}
