#include "host/command_bus.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

// Module ids are only compared, so any distinct non-zero values do.
TERModuleId Id(uintptr_t n) { return reinterpret_cast<TERModuleId>(n); }
const TERModuleId kHost = Id(0x1000);
const TERModuleId kModuleA = Id(0x2000);
const TERModuleId kModuleB = Id(0x3000);

std::vector<std::string> g_calls;

template <int N>
void Receiver(TERObserveData1* record) {
  g_calls.push_back(std::string(1, static_cast<char>('A' + N)) + ":" + record->name);
}

void Objector(TERObserveData1* record) {
  g_calls.push_back(std::string("objector:") + std::to_string(record->value));
  record->value = 1;
}

void Witness(TERObserveData1* record) {
  g_calls.push_back(std::string("witness:") + std::to_string(record->value));
}

class CommandBusTest : public ::testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }

  ModuleChannel* Channel(TERModuleId id, TERReceiveFunction receive) {
    channels_.push_back(ModuleChannel{nullptr, receive, id, 0});
    return &channels_.back();
  }

  TERObserveData1 Record(const char* name, TERModuleId sender, TERModuleId target = nullptr) {
    TERObserveData1 record = {};
    record.name = name;
    record.sender = sender;
    record.target = target;
    return record;
  }

  CommandBus bus_{kHost};
  std::deque<ModuleChannel> channels_;
};

TEST_F(CommandBusTest, BroadcastReachesEveryoneButTheSenderInRegistrationOrder) {
  bus_.Register("CMD", Channel(kModuleA, &Receiver<0>));
  bus_.Register("CMD", Channel(kModuleB, &Receiver<1>));
  bus_.RegisterHandler("CMD", &Receiver<7>);
  bus_.Open();

  TERObserveData1 from_a = Record("CMD", kModuleA);
  bus_.Deliver(&from_a);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"B:CMD", "H:CMD"}));

  g_calls.clear();
  TERObserveData1 from_host = Record("CMD", kHost);
  bus_.Deliver(&from_host);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"A:CMD", "B:CMD"}));
}

TEST_F(CommandBusTest, HostOnlyNameFromTheHostReachesNobody) {
  bus_.RegisterHandler("LIBPLATFORM_COMMAND_FIND_URL", &Receiver<7>);
  bus_.Open();
  TERObserveData1 record = Record("LIBPLATFORM_COMMAND_FIND_URL", kHost);
  bus_.Deliver(&record);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(CommandBusTest, TargetIsReachedExactlyOnceEvenWhenListedTwice) {
  ModuleChannel* b = Channel(kModuleB, &Receiver<1>);
  bus_.Register("CMD", Channel(kModuleA, &Receiver<0>));
  bus_.Register("CMD", b);
  bus_.Register("CMD", b);
  bus_.RegisterHandler("CMD", &Receiver<7>);
  bus_.Open();

  TERObserveData1 targeted = Record("CMD", kHost, kModuleB);
  bus_.Deliver(&targeted);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"B:CMD"}));

  g_calls.clear();
  TERObserveData1 broadcast = Record("CMD", kHost);
  bus_.Deliver(&broadcast);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"A:CMD", "B:CMD", "B:CMD"}));

  g_calls.clear();
  TERObserveData1 to_host = Record("CMD", kModuleA, kHost);
  bus_.Deliver(&to_host);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"H:CMD"}));
}

TEST_F(CommandBusTest, TargetThatIsTheSenderIsDeliveredTo) {
  bus_.Register("CMD", Channel(kModuleA, &Receiver<0>));
  bus_.Open();
  TERObserveData1 record = Record("CMD", kModuleA, kModuleA);
  bus_.Deliver(&record);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"A:CMD"}));
}

TEST_F(CommandBusTest, NothingIsDeliveredWithoutSenderOrUnderAnotherCase) {
  bus_.Register("CMD", Channel(kModuleA, &Receiver<0>));
  bus_.RegisterHandler("CMD", &Receiver<7>);
  bus_.Open();

  TERObserveData1 anonymous = Record("CMD", nullptr);
  bus_.Deliver(&anonymous);
  TERObserveData1 lower = Record("cmd", kModuleB);
  bus_.Deliver(&lower);
  TERObserveData1 unknown = Record("OTHER", kModuleB);
  bus_.Deliver(&unknown);
  TERObserveData1 absent_target = Record("CMD", kHost, kModuleB);
  bus_.Deliver(&absent_target);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(CommandBusTest, LaterReceiversSeeEarlierResults) {
  bus_.Register("LIBPLATFORM_COMMAND_EXIT_PROGRAMME", Channel(kModuleA, &Objector));
  bus_.Register("LIBPLATFORM_COMMAND_EXIT_PROGRAMME", Channel(kModuleB, &Witness));
  bus_.Open();
  TERObserveData1 record = Record("LIBPLATFORM_COMMAND_EXIT_PROGRAMME", kHost);
  bus_.Deliver(&record);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"objector:0", "witness:1"}));
  EXPECT_EQ(record.value, 1);
}

TEST_F(CommandBusTest, ReceiverLeftNullIsSkipped) {
  bus_.Register("CMD", Channel(kModuleA, nullptr));
  bus_.Register("CMD", Channel(kModuleB, &Receiver<1>));
  bus_.Open();
  TERObserveData1 broadcast = Record("CMD", kHost);
  bus_.Deliver(&broadcast);
  TERObserveData1 targeted = Record("CMD", kHost, kModuleA);
  bus_.Deliver(&targeted);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"B:CMD"}));
}

TEST_F(CommandBusTest, TableIsClosedToRegistrationOnceOpen) {
  EXPECT_TRUE(bus_.Register("CMD", Channel(kModuleA, &Receiver<0>)));
  bus_.Open();
  EXPECT_FALSE(bus_.Register("CMD", Channel(kModuleB, &Receiver<1>)));
  EXPECT_FALSE(bus_.RegisterHandler("CMD", &Receiver<7>));
  EXPECT_EQ(bus_.ReceiverCount("CMD"), 1u);
}

// A receiver that registers while the table is still being built must not disturb the
// delivery in progress.
CommandBus* g_building_bus = nullptr;
ModuleChannel g_late_channel = {nullptr, &Receiver<2>, Id(0x4000), 0};
void RegistersDuringDelivery(TERObserveData1* record) {
  g_calls.push_back("registrar");
  for (int i = 0; i < 64; ++i) g_building_bus->Register(record->name, &g_late_channel);
}

TEST_F(CommandBusTest, RegistrationDuringDeliveryWhileBuildingIsSafe) {
  g_building_bus = &bus_;
  bus_.Register("CMD", Channel(kModuleA, &RegistersDuringDelivery));
  TERObserveData1 first = Record("CMD", kHost);
  bus_.Deliver(&first);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"registrar"}));
  EXPECT_EQ(bus_.ReceiverCount("CMD"), 65u);
}

void CountOnWorker(TERObserveData1* record) { ++record->value; }

TEST_F(CommandBusTest, OpenTableServesManyThreadsAtOnce) {
  for (int i = 0; i < 3; ++i) bus_.Register("COUNT", Channel(Id(0x100 + i), &CountOnWorker));
  bus_.Open();
  std::vector<std::thread> threads;
  std::vector<int64_t> totals(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([this, t, &totals] {
      for (int i = 0; i < 10000; ++i) {
        TERObserveData1 record = Record("COUNT", kHost);
        bus_.Deliver(&record);
        totals[t] += record.value;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int64_t total : totals) EXPECT_EQ(total, 30000);
}

TEST(HostBus, SendCommandStampsTheHostAsSender) {
  TERObserveData1 record = {};
  record.name = "NOBODY_RECEIVES_THIS";
  SendCommand(&record);
  EXPECT_EQ(record.sender, ::GetModuleHandleW(nullptr));
}

}  // namespace
