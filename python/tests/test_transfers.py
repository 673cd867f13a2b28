"""File transfers on both simulated cameras: bytes that come back identical, progress reports,
host paths and Python file objects, and failures."""

import io
import os

import pytest

import tqvsdk


class Progress:
    """A progress callable that records its reports."""

    def __init__(self):
        self.calls = []

    def __call__(self, done, total):
        self.calls.append((done, total))

    def check_complete(self, size):
        assert self.calls, "no progress report"
        assert self.calls[-1] == (size, size)
        assert all(total == size for _, total in self.calls)
        dones = [done for done, _ in self.calls]
        assert dones == sorted(dones) and dones[0] > 0


def payload(size):
    return bytes((index * 7 + index // 251) & 0xFF for index in range(size))


@pytest.mark.parametrize("size", [1, 200_000])
def test_upload_and_download_by_path_keep_every_byte(camera, tmp_path, size):
    data = payload(size)
    source, target = tmp_path / "in.bin", tmp_path / "out.bin"
    source.write_bytes(data)
    up, down = Progress(), Progress()
    camera.upload_file_std("/FlashFS/py.bin", source, progress=up)
    assert camera.get_file_info("/FlashFS/py.bin").size == size
    camera.download_file_std("/FlashFS/py.bin", str(target), progress=down)
    assert target.read_bytes() == data
    up.check_complete(size)
    down.check_complete(size)


def test_file_objects_stand_for_host_files(camera):
    data = payload(70_000)
    progress = Progress()
    camera.upload_nuc("pyobject", io.BytesIO(data), progress=progress)
    progress.check_complete(len(data))
    assert "pyobject" in [entry.name for entry in camera.list_nucs()]
    back = io.BytesIO()
    camera.download_nuc("pyobject", back)
    assert back.getvalue() == data


def test_a_failing_progress_callable_is_raised_after_the_transfer(camera, tmp_path):
    source = tmp_path / "in.bin"
    source.write_bytes(payload(20_000))
    calls = []

    def progress(done, total):
        calls.append(done)
        raise KeyError("stop")

    with pytest.raises(KeyError, match="stop"):
        camera.upload_file_std("/FlashFS/raise.bin", source, progress=progress)
    # The library cannot be stopped by a progress answer: the transfer ran to its end, and the
    # callable was not called again once it had failed.
    assert camera.get_file_info("/FlashFS/raise.bin").size == 20_000
    assert len(calls) == 1


def test_failed_downloads_raise_and_hand_nothing_to_file_objects(camera, tmp_path):
    target = io.BytesIO()
    with pytest.raises(tqvsdk.TqvError) as raised:
        camera.download_file("/FlashFS/none.bin", target)
    assert raised.value.code == tqvsdk.Result.ERROR
    assert target.getvalue() == b""
    with pytest.raises(tqvsdk.TqvError) as raised:
        camera.upload_file_std("/FlashFS/x.bin", tmp_path / "missing")
    assert raised.value.code == tqvsdk.Result.ERROR
    assert not os.path.exists(tmp_path / "missing")
