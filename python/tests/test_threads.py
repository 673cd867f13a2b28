"""Threads, each on a camera of its own, at the same time: two opens of one address are two
cameras."""

import threading

import tqvsdk

ROUNDS = 300
ADDRESSES = ("sim", "sim", "genicam:sim")


def work(address, seed, barrier, failures, results):
    try:
        with tqvsdk.open(address) as cam:
            barrier.wait()
            for round_ in range(ROUNDS):
                preset = round_ % 4
                clocks = 1000 + seed * 10000 + round_
                cam.set_integration_width(preset, clocks)
                if cam.get_integration_width(preset) != clocks:
                    failures.append(f"{address}: preset {preset} does not read {clocks}")
                cam.set_window(0, 0, 0, 64 + 16 * (round_ % 8), 64)
                if cam.get_window(0).width != 64 + 16 * (round_ % 8):
                    failures.append(f"{address}: window width lost in round {round_}")
            results[seed] = [cam.get_integration_width(preset) for preset in range(4)]
    except Exception as error:  # reported by the test, on its own thread
        failures.append(f"{address}: {error!r}")


def test_threads_on_cameras_of_their_own_keep_their_own_settings():
    barrier, failures, results = threading.Barrier(len(ADDRESSES)), [], {}
    threads = [threading.Thread(target=work, args=(address, seed, barrier, failures, results))
               for seed, address in enumerate(ADDRESSES)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(timeout=120)
    assert not any(thread.is_alive() for thread in threads)
    assert failures == []
    last = [ROUNDS - 4 + preset for preset in range(4)]
    assert results == {seed: [1000 + seed * 10000 + r for r in last]
                       for seed in range(len(ADDRESSES))}
