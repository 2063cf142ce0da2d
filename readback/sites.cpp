#include "readback/sites.h"

#include "document/limits.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

int RebuildSites(TBoardData& d, const std::vector<TRfChannel>& channels,
                 const std::vector<std::vector<int>>& bankLists) {
    std::vector<std::vector<int>> lists; // distinct, in the order of the banks
    std::vector<int> listOfBank(bankLists.size(), -1);
    for (std::size_t i = 0; i < bankLists.size(); ++i) {
        if (bankLists[i].empty())
            continue;
        auto it = std::find(lists.begin(), lists.end(), bankLists[i]);
        if (it == lists.end())
            it = lists.insert(lists.end(), bankLists[i]);
        listOfBank[i] = static_cast<int>(it - lists.begin());
    }

    // The stretch [from, highest] that each list can bring.
    struct Reach {
        int From;
        int Highest;
    };
    std::vector<Reach> reach;
    for (const auto& list : lists) {
        std::map<int, int> firstSeen; // record -> first position in the list
        for (std::size_t k = 0; k < list.size(); ++k)
            firstSeen.emplace(list[k], static_cast<int>(k));
        const int highest = firstSeen.rbegin()->first;
        int from = highest;
        while (from > 0 && firstSeen.count(from - 1) != 0 && firstSeen[from - 1] < firstSeen[from])
            --from;
        reach.push_back({from, highest});
    }

    // cost[p][r]: the fewest sites of unused records needed for records
    // p.. when the current such site already holds r records.
    constexpr int kFull = limits::kMaxChannelsPerSite;
    const int n = static_cast<int>(channels.size());
    std::vector<std::array<int, kFull + 1>> cost(static_cast<std::size_t>(n) + 1);
    cost[static_cast<std::size_t>(n)].fill(0);
    auto after = [](int held) { return held == kFull ? 1 : held + 1; };
    for (int p = n - 1; p >= 0; --p) {
        for (int held = 0; held <= kFull; ++held) {
            int best = (held == 0 || held == kFull ? 1 : 0) +
                       cost[static_cast<std::size_t>(p) + 1][static_cast<std::size_t>(after(held))];
            for (const Reach& r : reach)
                if (r.From <= p && p <= r.Highest)
                    best = std::min(best, cost[static_cast<std::size_t>(r.Highest) + 1][0]);
            cost[static_cast<std::size_t>(p)][static_cast<std::size_t>(held)] = best;
        }
    }

    std::vector<int> siteOfList(lists.size(), -1);
    int sites = 0;
    int unused = 0;
    auto addSite = [&](const std::vector<int>& slots, const std::string& name) {
        auto site = std::make_unique<TRfSite>();
        site->SetName(name);
        for (const int slot : slots) {
            auto channel = std::make_unique<TRfChannel>(channels[static_cast<std::size_t>(slot)]);
            site->Channels.Append(channel);
        }
        d.Sites.Append(site);
        return sites++;
    };
    std::vector<int> run;
    auto endRun = [&] {
        if (run.empty())
            return;
        addSite(run,
                ++unused == 1 ? "Unused channels" : "Unused channels " + std::to_string(unused));
        run.clear();
    };
    for (int p = 0; p < n;) {
        const int held = static_cast<int>(run.size());
        const int target = cost[static_cast<std::size_t>(p)][static_cast<std::size_t>(held)];
        int chosen = -1;
        for (std::size_t k = 0; k < reach.size() && chosen < 0; ++k)
            if (siteOfList[k] < 0 && reach[k].From <= p && p <= reach[k].Highest &&
                cost[static_cast<std::size_t>(reach[k].Highest) + 1][0] == target)
                chosen = static_cast<int>(k);
        if (chosen >= 0) {
            endRun();
            siteOfList[static_cast<std::size_t>(chosen)] = addSite(
                lists[static_cast<std::size_t>(chosen)], "Site " + std::to_string(sites + 1));
            p = reach[static_cast<std::size_t>(chosen)].Highest + 1;
            continue;
        }
        if (held == kFull)
            endRun();
        run.push_back(p++);
    }
    endRun();
    // Lists that bring no record of their own (all their channels are in
    // earlier sites) come last.
    for (std::size_t k = 0; k < lists.size(); ++k)
        if (siteOfList[k] < 0)
            siteOfList[k] = addSite(lists[k], "Site " + std::to_string(sites + 1));
    for (std::size_t i = 0; i < bankLists.size(); ++i) {
        const int site =
            listOfBank[i] >= 0 ? siteOfList[static_cast<std::size_t>(listOfBank[i])] : -1;
        if (site >= 0 && site < d.Sites.Count())
            d.Banks[static_cast<int>(i)].Site = &d.Sites[site];
    }
    return sites;
}
