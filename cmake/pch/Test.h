// Precompiled for the tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
