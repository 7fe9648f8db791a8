#include "game/formats/trace.h"

#include <charconv>
#include <initializer_list>

namespace {

void AppendInt(std::string* out, int32_t value) {
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;  // 16 characters always hold an int32_t
    out->append(buffer, end);
}

void AppendInts(std::string* out, std::initializer_list<int32_t> values) {
    out->push_back('[');
    bool first = true;
    for (int32_t v : values) {
        if (!first) out->append(", ");
        first = false;
        AppendInt(out, v);
    }
    out->push_back(']');
}

// `"key": [[...], [...]]` for every record of the list, in list order.
template <typename T, typename Fields>
void AppendList(std::string* out, const char* key, const ObjectList<T>& list, Fields fields) {
    out->append(", \"").append(key).append("\": [");
    for (const ListElement<T>* e = list.first; e; e = e->next) {
        if (e != list.first) out->append(", ");
        fields(out, e->record);
    }
    out->push_back(']');
}

void AppendNamedInt(std::string* out, const char* key, int32_t value) {
    out->append(", \"").append(key).append("\": ");
    AppendInt(out, value);
}

}  // namespace

void AppendTraceLine(std::string* out, int32_t frame, const GameState& s) {
    out->append("{\"frame\": ");
    AppendInt(out, frame);
    out->append(", \"player\": ");
    AppendInts(out, {s.playerPos.x, s.playerPos.y, s.playerVel.x, s.playerVel.y, s.playerAngle,
                     s.playerDamage, s.playerFront.x, s.playerFront.y, s.playerRear.x, s.playerRear.y,
                     s.gunSide, s.fireCooldown});
    AppendNamedInt(out, "kills", s.killCount);
    AppendNamedInt(out, "shotsFired", s.shotsFired);
    AppendNamedInt(out, "explosion", s.explosionSoundIndex);
    AppendList(out, "enemies", s.enemyList,
               [](std::string* o, const Enemy& r) { AppendInts(o, {r.x, r.y, r.vx, r.vy, r.kind}); });
    AppendList(out, "shots", s.shotList,
               [](std::string* o, const Shot& r) { AppendInts(o, {r.x, r.y, r.vx, r.vy, r.spent}); });
    AppendList(out, "stains", s.stainList,
               [](std::string* o, const Stain& r) { AppendInts(o, {r.x, r.y}); });
    AppendList(out, "smoke", s.smokeList,
               [](std::string* o, const Smoke& r) { AppendInts(o, {r.x, r.y, r.vx, r.vy, r.life}); });
    AppendList(out, "puffs", s.puffList,
               [](std::string* o, const Puff& r) { AppendInts(o, {r.x, r.y, r.vx, r.vy, r.life}); });
    AppendList(out, "flashes", s.damageFlashList,
               [](std::string* o, const DamageFlash& r) { AppendInts(o, {r.direction, r.life}); });
    out->append(", \"sounds\": [");
    // Nothing is dispatched before the first frame.
    int32_t count = frame == 0 ? 0 : s.lastPlayedCount;
    if (count < 0) count = 0;
    if (count > kSoundRequestCount) count = kSoundRequestCount;
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) out->append(", ");
        AppendInt(out, s.lastPlayedSounds[i]);
    }
    out->append("]}\n");
}
