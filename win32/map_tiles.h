#pragma once
// Raster tiles for the Win32 map window, fetched as tile usage policies ask
// (map/tile_queue.h, map/tile_fetch.h): WinHTTP with Velorin's User-Agent,
// two requests at a time on two threads of their own, only the tiles of
// the view, the disk cache, every limit of map/tile_limits.h; decoded by
// WIC into bitmaps GDI draws, held in memory within kMostTileMemory. A
// request the view no longer needs is let go at its next piece of body.
// The window hears kTilesMessage when a request has ended and kTileTimer
// when a tile that failed may be asked again.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/tile_memory.h"
#include "map/tile_queue.h"
#include "map/tile_server.h"

namespace velorin {

/// A tile's picture as GDI draws it: a 32-bit bitmap, premultiplied.
class TileBitmap {
 public:
  TileBitmap(HBITMAP bitmap, int width, int height, bool opaque)
      : bitmap_(bitmap), width_(width), height_(height), opaque_(opaque) {}
  ~TileBitmap() { DeleteObject(bitmap_); }
  TileBitmap(const TileBitmap&) = delete;
  TileBitmap& operator=(const TileBitmap&) = delete;

  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool opaque() const { return opaque_; }

 private:
  HBITMAP bitmap_;
  int width_;
  int height_;
  bool opaque_;
};

class Win32TileLoader {
 public:
  static constexpr UINT kTilesMessage = WM_APP + 20;
  static constexpr UINT_PTR kTileTimer = 20;

  /// Tiles of `server`, kept between runs in `cacheFolder` (empty: in
  /// memory only); `window` hears what came of the requests.
  Win32TileLoader(TileServer server, const std::string& cacheFolder, HWND window);
  /// Lets every request go; those still on their way end by themselves.
  ~Win32TileLoader();
  Win32TileLoader(const Win32TileLoader&) = delete;
  Win32TileLoader& operator=(const Win32TileLoader&) = delete;

  const TileServer& Server() const { return server_; }
  /// The tiles the view shows now, most wanted first; any other request
  /// still open is let go.
  void Want(const std::vector<TileId>& tiles);
  /// A tile that has arrived and is still held in memory, or null.
  const TileBitmap* Image(const TileId& tile);
  /// Why the tile's last request failed, until it is asked again.
  std::optional<TileFailure> FailureOf(const TileId& tile) const { return queue_.FailureOf(tile); }
  /// Requests the view still waits for.
  int RequestsInFlight() const { return queue_.RequestsOpen(); }
  void SetRetryDelay(std::chrono::milliseconds delay) { queue_.SetRetryDelay(delay); }
  void SetBackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest) {
    queue_.SetBackOff(first, longest);
  }
  /// Tiles are decoded no larger than this many pixels square.
  void SetDrawnSide(int side) { drawnSide_ = side; }

  /// For kTilesMessage: takes what the requests brought; true when a tile
  /// of the view arrived or failed (draw again).
  bool TakeFinished();
  /// For kTileTimer: asks for the tiles whose time has come.
  void Wake();

 private:
  struct Workers;

  void StartRequests();

  TileServer server_;
  HWND window_;
  std::shared_ptr<Workers> workers_;
  TileQueue queue_;
  TileMemory<std::shared_ptr<TileBitmap>> memory_;
  /// The open requests by TileNumber: the number each was started as.
  std::map<std::uint64_t, std::uint64_t> open_;
  std::uint64_t lastRequest_ = 0;
  int drawnSide_ = 256;
};

}  // namespace velorin
