// The preview's showcase mission: a room with one of everything the scene draws.

#include "tools/scene-preview/showcase_mission.hpp"

namespace nj::preview {

std::string showcaseMissionJson(const std::string& theme) {
    return R"({"name":"SHOWCASE","theme":")" + theme + R"(",)" +
           R"("player":{"x":470,"y":300},"serviceSpawn":{"x":470,"y":300},)"
           R"("walls":[{"x":0,"y":0,"w":960,"h":16},{"x":0,"y":524,"w":960,"h":16},)"
           R"({"x":0,"y":0,"w":16,"h":540},{"x":944,"y":0,"w":16,"h":540},)"
           R"({"x":300,"y":16,"w":20,"h":150},{"x":600,"y":200,"w":24,"h":120},)"
           R"({"x":420,"y":370,"w":140,"h":18}],)"
           R"("furniture":[{"type":"roulette","x":150,"y":190,"w":110,"h":60},)"
           R"({"type":"blackjack","x":150,"y":300,"w":90,"h":50},)"
           R"({"type":"plush_booth","x":400,"y":90,"w":70,"h":44},)"
           R"({"type":"stanchions","x":520,"y":470,"w":90,"h":12},)"
           R"({"type":"desk","x":760,"y":290,"w":80,"h":40},)"
           R"({"type":"bookcase","x":860,"y":100,"w":30,"h":90},)"
           R"({"type":"server","x":540,"y":90,"w":34,"h":60},)"
           R"({"type":"cryopod","x":250,"y":460,"w":44,"h":44},)"
           R"({"type":"archive_rack","x":760,"y":470,"w":90,"h":22},)"
           R"({"type":"crate","x":380,"y":250,"w":40,"h":30}],)"
           R"("lasers":[{"x":330,"y":420,"w":70,"h":8}],)"
           R"("cameras":[{"x":40,"y":40,"angle":0.8,"sweep":1.1,"range":170},)"
           R"({"x":900,"y":500,"angle":-2.4,"sweep":0.9,"range":150}],)"
           R"("pressures":[{"x":60,"y":470,"w":60,"h":30}],)"
           R"("doors":[{"x":600,"y":320,"w":24,"h":50,"color":"ruby"},)"
           R"({"x":320,"y":140,"w":60,"h":14,"color":"emerald"}],)"
           R"("keycards":[{"x":700,"y":90,"color":"ruby"},{"x":70,"y":380,"color":"purple"}],)"
           R"("guards":[{"x":480,"y":180,"angle":0,"patrol":[{"x":480,"y":180},{"x":560,"y":180}]},)"
           R"({"x":700,"y":400,"angle":3.14,"range":170,"patrol":[{"x":700,"y":400},)"
           R"({"x":700,"y":340}]},{"x":230,"y":380,"angle":-1.2}]})";
}

}  // namespace nj::preview
