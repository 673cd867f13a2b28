"""Two threads, each on a camera of its own, at the same time."""

import threading

import tqvsdk

ROUNDS = 300


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
            results[address] = [cam.get_integration_width(preset) for preset in range(4)]
    except Exception as error:  # reported by the test, on its own thread
        failures.append(f"{address}: {error!r}")


def test_two_threads_on_two_cameras_keep_their_own_settings():
    barrier, failures, results = threading.Barrier(2), [], {}
    threads = [threading.Thread(target=work, args=(address, seed, barrier, failures, results))
               for seed, address in enumerate(("sim", "genicam:sim"))]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(timeout=120)
    assert not any(thread.is_alive() for thread in threads)
    assert failures == []
    last = [ROUNDS - 4 + preset for preset in range(4)]
    assert results == {"sim": [1000 + r for r in last],
                       "genicam:sim": [11000 + r for r in last]}
