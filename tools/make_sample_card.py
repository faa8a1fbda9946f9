#!/usr/bin/env python3
"""Writes the sample memory card that the editor opens in development: setup.cfg and
default.cfg (settings records of layout 1.2, 544 bytes) and lang/ver.dat.

    python3 tools/make_sample_card.py [card folder]      (default: samples/card)

The camera writes these files on a real card; the values here are a plausible camera in use
(setup.cfg) and as it leaves the factory (default.cfg).
"""
import os
import struct
import sys

RECORD_SIZE = 544
LAYOUT_1_2 = 0x00010002

# field name -> (byte offset, struct format); the record is little-endian.
FIELDS = {
    "record_size": (0, "<I"), "config_version": (4, "<I"), "product_name": (8, "16s"),
    "device_keep_1": (40, "<I"), "device_keep_2": (44, "<I"), "device_keep_3": (48, "<H"),
    "brightness": (64, "<i"), "voice_guidance": (108, "<i"), "voice_volume": (112, "<i"),
    "safety_camera_alert": (116, "<i"), "impact_sensitivity_continuous": (120, "<i"),
    "overwrite_incident_continuous": (132, "<i"), "overwrite_parking_motion": (136, "<i"),
    "overwrite_parking_incident": (140, "<i"), "overwrite_manual": (144, "<i"),
    "impact_sensitivity_parking": (176, "<i"), "parking_mode": (180, "<i"), "motion_set": (184, "<i"),
    "motion_sensitivity": (196, "<i"), "parking_timer_hours": (200, "<i"),
    "low_voltage_12v": (204, "<i"), "low_voltage_24v": (208, "<i"), "partition_type": (212, "<i"),
    "system_choice": (216, "<i"), "device_keep_4": (224, "<I"), "time_zone_bias": (372, "<i"),
    "daylight_saving": (376, "<i"), "time_zone_name": (380, "32s"), "speed_unit": (416, "<i"),
    "system_level": (420, "<i"), "lcd_auto_off_ms": (424, "<i"), "language_index": (428, "<i"),
    "winter_months": (432, "<I"), "assist_any_on": (440, "<i"), "low_voltage_shutdown": (464, "<i"),
    "assist_switch_1": (484, "<i"), "assist_switch_2": (492, "<i"), "assist_switch_3": (500, "<i"),
    "parking_choice": (508, "<i"), "speed_stamp": (512, "<i"),
    "parking_flag_a": (536, "<i"), "parking_flag_b": (540, "<i"),
}

FACTORY = {
    "record_size": RECORD_SIZE, "config_version": LAYOUT_1_2, "product_name": b"R7Q2",
    "brightness": 1, "voice_guidance": 1, "voice_volume": 2, "safety_camera_alert": 1,
    "impact_sensitivity_continuous": 3, "overwrite_incident_continuous": 1,
    "overwrite_parking_motion": 1, "overwrite_parking_incident": 1, "overwrite_manual": 0,
    "impact_sensitivity_parking": 3, "parking_mode": 1, "motion_set": 1, "motion_sensitivity": 3,
    "parking_timer_hours": 24, "low_voltage_12v": 2, "low_voltage_24v": 2, "partition_type": 1,
    "system_choice": 1, "time_zone_bias": 540, "daylight_saving": 0,
    "time_zone_name": b"Korea Standard Time", "speed_unit": 0, "system_level": 1,
    "lcd_auto_off_ms": 30000, "language_index": 0, "winter_months": 0, "low_voltage_shutdown": 1,
    "parking_choice": 1, "speed_stamp": 1,
}

# The camera in use: its own serial fields, and a few settings its owner changed.
IN_USE = dict(FACTORY, device_keep_1=0x2407, device_keep_2=118, device_keep_3=3, device_keep_4=1,
              parking_timer_hours=12, motion_sensitivity=5, impact_sensitivity_continuous=2,
              low_voltage_12v=4, speed_stamp=0, assist_switch_2=1, assist_any_on=1)

VER_DAT = ("[Ver] : 1.2.0\r\n"
           "[Pack Name] : R7Q2_STD\r\n"
           "[Code] : en ko fr es de it ja pt ru zh-Hans zh-Hant-HK\r\n"
           "[Device] : R7Q2\r\n")


def record(values):
    data = bytearray(RECORD_SIZE)
    for name, value in values.items():
        offset, fmt = FIELDS[name]
        struct.pack_into(fmt, data, offset, value)
    return bytes(data)


def main():
    card = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "samples", "card")
    os.makedirs(os.path.join(card, "lang"), exist_ok=True)
    with open(os.path.join(card, "setup.cfg"), "wb") as f:
        f.write(record(IN_USE))
    with open(os.path.join(card, "default.cfg"), "wb") as f:
        f.write(record(FACTORY))
    with open(os.path.join(card, "lang", "ver.dat"), "wb") as f:
        f.write(VER_DAT.encode("ascii"))


if __name__ == "__main__":
    main()
