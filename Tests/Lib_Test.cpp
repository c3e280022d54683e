#include "Callback.h"
#include "Holder.h"
#include "Throw_Assertion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> s_events;

struct Interface {
    virtual ~Interface() {}
};

struct Concrete : Interface {
    explicit Concrete(std::string name) : m_name(std::move(name)) {}
    ~Concrete() override { s_events.push_back("~" + m_name); }
    std::string m_name;
};

struct Counting_Callback : QEV_Lib::Callback {
    int call() override { return 1; }
    int m_payload[100] = {};
};

}

TEST(Throw_Assertion, ThrowsWithEveryPartOfTheReport) {
    try {
        QEV_Lib::Throw_Assertion("s_music == 0", nullptr, "Music", 0);
        FAIL() << "no exception";
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_expression, "s_music == 0");
        EXPECT_EQ(failure.m_message, "");
        EXPECT_EQ(failure.m_file, "Music");
        EXPECT_EQ(failure.m_line, 0u);
        EXPECT_STREQ(failure.what(), "check s_music == 0 failed in Music");
    }
    try {
        QEV_Lib::Throw_Assertion("false", "\"JPG Error\"", "Texture", 100);
    } catch (const std::exception& failure) {
        EXPECT_STREQ(failure.what(), "\"JPG Error\" (check false failed in Texture:100)");
    }
}

TEST(Holder, AssignmentDestroysTheOldObjectBeforeTakingTheNew) {
    s_events.clear();
    Holder<Interface> target(new Concrete("old"));
    target = Holder<Interface>(new Concrete("new"));
    ASSERT_EQ(s_events, std::vector<std::string>{"~old"});
    EXPECT_EQ(static_cast<Concrete*>(target.get())->m_name, "new");

    Holder<Interface> moved(std::move(target));
    EXPECT_EQ(target.get(), nullptr);
    moved = Holder<Interface>();
    EXPECT_EQ(s_events, (std::vector<std::string>{"~old", "~new"}));
}

TEST(Holder, DestroysACallbackThroughItsOwnDestructor) {
    // The object is larger than the interface: under the sanitizers a sized
    // delete through the interface would be reported here.
    Holder<QEV_Lib::Callback> callback(new Counting_Callback);
    EXPECT_EQ(callback->call(), 1);
}
