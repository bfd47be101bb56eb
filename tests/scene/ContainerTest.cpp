// Tests of the named container: lookups by name and position, owned name
// copies, destruction order and the argument assertions.
#include "scene/Container.h"

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

namespace
{

// An item that records its destruction in a shared log.
struct Item
{
    Item(int a_id, std::vector<int>* a_log) : m_id(a_id), m_log(a_log) {}
    ~Item()
    {
        if (m_log)
            m_log->push_back(m_id);
    }

    int m_id;
    std::vector<int>* m_log;
};

}

// An empty container finds nothing and counts zero.
TEST(ContainerTest, EmptyContainerFindsNothing)
{
    Container<Item> container;
    EXPECT_EQ(container.count(), 0u);
    EXPECT_EQ(container.find("a"), nullptr);
    EXPECT_EQ(container.find(""), nullptr);
}

// Names may repeat; find returns the earliest entry and positions keep insertion order.
TEST(ContainerTest, FindReturnsTheFirstOfRepeatedNames)
{
    Container<Item> container;
    Item* first = new Item(1, nullptr);
    Item* second = new Item(2, nullptr);
    Item* third = new Item(3, nullptr);
    container.add("a", first);
    container.add("b", second);
    container.add("a", third);

    EXPECT_EQ(container.count(), 3u);
    EXPECT_EQ(container.find("a"), first);
    EXPECT_EQ(container.find("b"), second);
    EXPECT_EQ(container.at(0), first);
    EXPECT_EQ(container.at(1), second);
    EXPECT_EQ(container.at(2), third);
}

// Names compare byte for byte over the whole string, case-sensitively.
TEST(ContainerTest, NamesMatchExactly)
{
    Container<Item> container;
    Item* item = new Item(1, nullptr);
    container.add("Camera01", item);

    struct Case
    {
        const char* name;
        bool found;
    };
    const Case cases[] = {
        {"Camera01", true},   {"camera01", false}, {"Camera0", false},
        {"Camera011", false}, {"", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(container.find(c.name), c.found ? item : nullptr);
    }
}

// The container keeps its own copy of each name: changing or freeing the
// caller's string afterwards does not change lookups.
TEST(ContainerTest, StoredNameIsACopy)
{
    Container<Item> container;
    Item* item = new Item(1, nullptr);
    char* name = new char[16];
    strcpy(name, "hog.qor");
    container.add(name, item);

    strcpy(name, "xxx.qor");
    EXPECT_EQ(container.find("hog.qor"), item);
    EXPECT_EQ(container.find("xxx.qor"), nullptr);

    delete[] name;
    EXPECT_EQ(container.find("hog.qor"), item);
}

// Destroying a container destroys its items in the order they were added.
TEST(ContainerTest, DestroysItemsInInsertionOrder)
{
    std::vector<int> log;
    {
        Container<Item> container;
        container.add("mesh", new Item(1, &log));
        container.add("instance", new Item(2, &log));
        container.add("mesh", new Item(3, &log));
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
}

// Out-of-range positions and null arguments fail the container's assertions.
TEST(ContainerTest, BadArgumentsFailTheAssertions)
{
    Container<Item> container;
    EXPECT_DEATH(container.at(0), "a_index < count\\(\\).*Container");
    EXPECT_DEATH(container.add(nullptr, new Item(1, nullptr)), "a_name && a_item.*Container");
    EXPECT_DEATH(container.add("a", nullptr), "a_name && a_item.*Container");
    EXPECT_DEATH(container.find(nullptr), "a_name.*Container");

    container.add("a", new Item(1, nullptr));
    EXPECT_DEATH(container.at(1), "a_index < count\\(\\).*Container");
}
