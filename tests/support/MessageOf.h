// The message of the exception a call raises.
#pragma once

#include "QrvErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace qrv::test
{

// The message of the E the call raises, or "" when it raises nothing (so a
// comparison with the expected message fails). An exception of another type
// is a test failure.
template <class E = Exception, class F> std::string MessageOf(F&& call)
{
    try {
        call();
    } catch (const E& error) {
        return error.Message();
    } catch (const std::exception& other) {
        ADD_FAILURE() << "unexpected exception: " << other.what();
        return "<unexpected exception>";
    }
    return "";
}

} // namespace qrv::test
