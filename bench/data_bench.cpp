// Start-up costs of the protected formats: mounting a 64 MiB package and
// decoding a 20 KiB mission token, on the SHA extension path and the portable one.
#include <benchmark/benchmark.h>

#include <iostream>
#include <sstream>

#include "bench/stress_mission.hpp"
#include "data/json.hpp"
#include "data/keystream.hpp"
#include "data/map_token.hpp"
#include "data/mission_check.hpp"
#include "data/mission_edit.hpp"
#include "data/mission_text.hpp"
#include "data/package.hpp"
#include "data/sha256.hpp"

namespace {

const std::string& packageFile() {
    static const std::string file = [] {
        std::vector<nj::PackageAsset> assets;
        for (int i = 0; i < 64; ++i) {
            std::string data(1 << 20, '\0');
            for (std::size_t j = 0; j < data.size(); ++j) data[j] = static_cast<char>(j * 131 + i);
            assets.push_back({"assets/blob" + std::to_string(i) + ".bin", std::move(data)});
        }
        const std::string index = nj::buildPackageIndex(assets);
        return nj::buildPackage(assets, nj::packageSaltFor(index));
    }();
    return file;
}

const std::string& missionToken() {
    static const std::string token = [] {
        std::string json = "{\"name\":\"Bench\",\"walls\":[";
        for (int i = 0; json.size() < 20 * 1024; ++i) {
            json += "{\"x\":" + std::to_string(i) + ",\"y\":40,\"w\":120,\"h\":12},";
        }
        json += "{}]}";
        return nj::encodeMapToken(json, nj::mapSaltFor(json));
    }();
    return token;
}

void setPath(benchmark::State& state) {
    nj::sha256UsePortable(state.range(0) != 0);
    state.SetLabel(nj::sha256HasHardware() ? "sha-ni" : "portable");
}

void BM_PackageMount64MiB(benchmark::State& state) {
    setPath(state);
    const std::string& file = packageFile();
    nj::NJ3Package store;
    std::ostringstream sink;
    store.setLogStreams(&sink, &std::cerr);
    for (auto _ : state) {
        if (!store.mountBytes("bench.nj3p", file)) state.SkipWithError("mount failed");
        sink.str("");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(file.size()));
    nj::sha256UsePortable(false);
}
BENCHMARK(BM_PackageMount64MiB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MapTokenDecode20KiB(benchmark::State& state) {
    setPath(state);
    const std::string& token = missionToken();
    for (auto _ : state) benchmark::DoNotOptimize(nj::decodeMapToken(token));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(token.size() / 2));
    nj::sha256UsePortable(false);
}
BENCHMARK(BM_MapTokenDecode20KiB)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PackageKeystream(benchmark::State& state) {
    setPath(state);
    std::string buffer(1 << 24, '\0');
    const std::string salt = nj::packageSaltFor("x");
    for (auto _ : state) {
        nj::xorPackageKeystream(nj::kPackageKey, salt, buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(buffer.size()));
    nj::sha256UsePortable(false);
}
BENCHMARK(BM_PackageKeystream)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the mission editor pays for one edit: the mission written back as
// text and checked whole, on a mission busier than any shipped one.
void BM_MissionEditCheck(benchmark::State& state) {
    nj::MissionEditor editor(nj::parseJson(nj::bench::stressMissionJson()));
    std::string why;
    double dx = 1.0;
    for (auto _ : state) {
        dx = -dx;
        const bool moved = editor.apply(
            [dx](nj::JsonValue& m, std::string& w) {
                return nj::movePiece(m, nj::MissionPiece{"guards", 3}, dx, 0.0, w);
            },
            why);
        if (!moved) state.SkipWithError(why.c_str());
    }
    state.counters["bytes"] = static_cast<double>(editor.text().size());
}
BENCHMARK(BM_MissionEditCheck)->Unit(benchmark::kMillisecond);

}  // namespace
