#pragma once
// The camera's settings record, setup.cfg: a flat little-endian image of 544 bytes, layout
// version 1.2. Pages read and write single fields of the one live record in memory; every byte
// that no field names is carried from the file back to the file unchanged.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint32_t SETUP_CONFIG_SIZE = 544;
constexpr uint32_t SETUP_CONFIG_VERSION_1_2 = 0x00010002;

#pragma pack(push, 1)
struct SetupConfig {
    // Header
    uint32_t record_size;     // length of the record; the save writes this many bytes (at most 544)
    uint32_t config_version;  // major in the high 16 bits, minor in the low 16 bits
    char product_name[16];    // model name, ANSI code page, NUL-padded, not always NUL-terminated

    uint8_t reserved_24[16];
    uint32_t device_keep_1;  // kept by restoring defaults
    uint32_t device_keep_2;
    uint16_t device_keep_3;
    uint8_t reserved_50[14];
    int32_t brightness;  // 0..2
    uint8_t reserved_68[40];
    int32_t voice_guidance;  // 0 off, 1 on
    int32_t voice_volume;    // 1..3, kept while guidance is off
    int32_t safety_camera_alert;
    int32_t impact_sensitivity_continuous;  // 1 (insensitive) .. 5 (sensitive)
    uint8_t reserved_124[8];
    int32_t overwrite_incident_continuous;
    int32_t overwrite_parking_motion;
    int32_t overwrite_parking_incident;
    int32_t overwrite_manual;
    uint8_t reserved_148[28];
    int32_t impact_sensitivity_parking;  // 1..5
    int32_t parking_mode;                // 1 enabled, 2 third choice, 0 disabled
    int32_t motion_set;
    uint8_t reserved_188[8];
    int32_t motion_sensitivity;   // 0 (off), 1, 3 or 5
    int32_t parking_timer_hours;  // 6, 12, 24 or 48
    int32_t low_voltage_12v;      // 0..7 = 11.6 V .. 12.3 V
    int32_t low_voltage_24v;      // 0..7 = 23.2 V .. 24.6 V
    int32_t partition_type;       // 1 = A, 2 = B, 3 = C
    int32_t system_choice;        // 1, 2, 3 or 0
    uint8_t reserved_220[4];
    uint32_t device_keep_4;
    uint8_t reserved_228[144];
    int32_t time_zone_bias;      // local standard time minus UTC, minutes (UTC+9 is 540)
    int32_t daylight_saving;     // 1 enabled, 0 disabled
    char time_zone_name[32];     // catalogue key name, ANSI code page, NUL-padded
    uint8_t reserved_412[4];
    int32_t speed_unit;          // 0 km/h, 1 mph
    int32_t system_level;
    int32_t lcd_auto_off_ms;     // 30000, 600000 or 0
    int32_t language_index;      // index into the ver.dat language codes
    uint32_t winter_months;      // bit n for check box 1165 + n
    uint8_t reserved_436[4];
    int32_t assist_any_on;       // derived on save from the three assist switches
    uint8_t reserved_444[20];
    int32_t low_voltage_shutdown;
    uint8_t reserved_468[16];
    int32_t assist_switch_1;
    uint8_t reserved_488[4];
    int32_t assist_switch_2;
    uint8_t reserved_496[4];
    int32_t assist_switch_3;
    uint8_t reserved_504[4];
    int32_t parking_choice;
    int32_t speed_stamp;
    uint8_t reserved_516[20];
    int32_t parking_flag_a;
    int32_t parking_flag_b;
};
#pragma pack(pop)

static_assert(sizeof(SetupConfig) == SETUP_CONFIG_SIZE);
static_assert(offsetof(SetupConfig, record_size) == 0);
static_assert(offsetof(SetupConfig, config_version) == 4);
static_assert(offsetof(SetupConfig, product_name) == 8);
static_assert(offsetof(SetupConfig, reserved_24) == 24);
static_assert(offsetof(SetupConfig, device_keep_1) == 40);
static_assert(offsetof(SetupConfig, device_keep_2) == 44);
static_assert(offsetof(SetupConfig, device_keep_3) == 48);
static_assert(offsetof(SetupConfig, reserved_50) == 50);
static_assert(offsetof(SetupConfig, brightness) == 64);
static_assert(offsetof(SetupConfig, reserved_68) == 68);
static_assert(offsetof(SetupConfig, voice_guidance) == 108);
static_assert(offsetof(SetupConfig, voice_volume) == 112);
static_assert(offsetof(SetupConfig, safety_camera_alert) == 116);
static_assert(offsetof(SetupConfig, impact_sensitivity_continuous) == 120);
static_assert(offsetof(SetupConfig, reserved_124) == 124);
static_assert(offsetof(SetupConfig, overwrite_incident_continuous) == 132);
static_assert(offsetof(SetupConfig, overwrite_parking_motion) == 136);
static_assert(offsetof(SetupConfig, overwrite_parking_incident) == 140);
static_assert(offsetof(SetupConfig, overwrite_manual) == 144);
static_assert(offsetof(SetupConfig, reserved_148) == 148);
static_assert(offsetof(SetupConfig, impact_sensitivity_parking) == 176);
static_assert(offsetof(SetupConfig, parking_mode) == 180);
static_assert(offsetof(SetupConfig, motion_set) == 184);
static_assert(offsetof(SetupConfig, reserved_188) == 188);
static_assert(offsetof(SetupConfig, motion_sensitivity) == 196);
static_assert(offsetof(SetupConfig, parking_timer_hours) == 200);
static_assert(offsetof(SetupConfig, low_voltage_12v) == 204);
static_assert(offsetof(SetupConfig, low_voltage_24v) == 208);
static_assert(offsetof(SetupConfig, partition_type) == 212);
static_assert(offsetof(SetupConfig, system_choice) == 216);
static_assert(offsetof(SetupConfig, reserved_220) == 220);
static_assert(offsetof(SetupConfig, device_keep_4) == 224);
static_assert(offsetof(SetupConfig, reserved_228) == 228);
static_assert(offsetof(SetupConfig, time_zone_bias) == 372);
static_assert(offsetof(SetupConfig, daylight_saving) == 376);
static_assert(offsetof(SetupConfig, time_zone_name) == 380);
static_assert(offsetof(SetupConfig, reserved_412) == 412);
static_assert(offsetof(SetupConfig, speed_unit) == 416);
static_assert(offsetof(SetupConfig, system_level) == 420);
static_assert(offsetof(SetupConfig, lcd_auto_off_ms) == 424);
static_assert(offsetof(SetupConfig, language_index) == 428);
static_assert(offsetof(SetupConfig, winter_months) == 432);
static_assert(offsetof(SetupConfig, reserved_436) == 436);
static_assert(offsetof(SetupConfig, assist_any_on) == 440);
static_assert(offsetof(SetupConfig, reserved_444) == 444);
static_assert(offsetof(SetupConfig, low_voltage_shutdown) == 464);
static_assert(offsetof(SetupConfig, reserved_468) == 468);
static_assert(offsetof(SetupConfig, assist_switch_1) == 484);
static_assert(offsetof(SetupConfig, reserved_488) == 488);
static_assert(offsetof(SetupConfig, assist_switch_2) == 492);
static_assert(offsetof(SetupConfig, reserved_496) == 496);
static_assert(offsetof(SetupConfig, assist_switch_3) == 500);
static_assert(offsetof(SetupConfig, reserved_504) == 504);
static_assert(offsetof(SetupConfig, parking_choice) == 508);
static_assert(offsetof(SetupConfig, speed_stamp) == 512);
static_assert(offsetof(SetupConfig, reserved_516) == 516);
static_assert(offsetof(SetupConfig, parking_flag_a) == 536);
static_assert(offsetof(SetupConfig, parking_flag_b) == 540);

// The record is stored little-endian and read by plain copy; that only holds on a
// little-endian machine, which every target of this program is.
static_assert(std::endian::native == std::endian::little);

// The live record: null before start-up has created or loaded one and after the main window
// has closed. Holders of the pointer must read it again after a load, which replaces it.
extern SetupConfig* g_pSetupConfig;

// Replaces the live record by a new all-zero one and returns it.
SetupConfig* CreateLiveRecord();
// Replaces the live record by the given one (takes ownership).
void ReplaceLiveRecord(std::unique_ptr<SetupConfig> record);
// Frees the live record; g_pSetupConfig becomes null.
void FreeLiveRecord();

// The model name as text: the 16 bytes up to the first NUL, from the ANSI code page.
std::wstring ProductNameText(const SetupConfig& record);
