#pragma once
// The one owner of every Vulkan object: device, swapchain, frame slots,
// pipelines, vertex buffers and the overlay texture. It is also the batch the
// drawing primitives write into.

#include <volk.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/batch.hpp"
#include "render/frame_slot.hpp"
#include "render/overlay_coverage.hpp"
#include "render/viewport.hpp"

namespace nj {

// What the window system lends the renderer: the instance extensions it needs
// and a way to make a surface for the game window. Keeps windowing code out of
// the renderer.
struct WindowSurface {
    std::vector<std::string> instanceExtensions;            // besides VK_KHR_surface
    std::function<VkSurfaceKHR(VkInstance)> createSurface;  // VK_NULL_HANDLE on failure
    // Puts a finished frame (BGRA, 8 bits a channel, rowBytes apart) into the
    // window straight from system memory; false when the window did not take
    // it. Empty when the window system offers nothing cheaper than the
    // swapchain. Used only for a device that draws on the processor.
    std::function<bool(const uint8_t* bgra, int width, int height, int rowBytes)> showPixels;
};

// What every frame, and every picture of the play field, starts from: the
// night blue of the letterbox bars.
inline constexpr VkClearColorValue kClearColour = {{0.02f, 0.035f, 0.065f, 1.0f}};

class VulkanRenderer : public Batch {
  public:
    static constexpr uint32_t kFramesInFlight = 2;

    VulkanRenderer() = default;
    ~VulkanRenderer() override;
    VulkanRenderer(const VulkanRenderer&) = delete;
    VulkanRenderer& operator=(const VulkanRenderer&) = delete;

    // Brings the device up for the window's drawable of width x height pixels
    // (1280 x 720 when either is below 1). False after writing why to stderr;
    // whatever was made stays for shutdown.
    bool init(const WindowSurface& window, int width, int height);

    // The drawable changed size; ignored unless both are above 0.
    void resize(int width, int height);

    // Starts recording a frame. False when the swapchain had to be rebuilt: the
    // frame is skipped, and its drawing, finishRecording and submitAndPresent do nothing.
    bool beginFrame();
    void finishRecording();
    void submitAndPresent();

    // The kept static layers (static_layer.cpp): each drawn once into an
    // image of the draw target's size, then put onto every frame pixel for pixel.
    bool beginStaticLayer(std::uint64_t key, StaticLayer layer) override;
    void endStaticLayer() override;

    // Draws a BGRA bitmap (8 bits a channel, premultiplied; rowBytes 0 =
    // tightly packed) over the whole canvas, above everything drawn before it
    // this frame. Only the tiles that hold visible pixels are drawn. With
    // `changed` false the bitmap is the one handed over last time: it is
    // neither uploaded nor scanned again.
    void drawOverlayBitmap(const uint8_t* pixels, int width, int height, int rowBytes,
                           bool changed = true);

    // False while frames go straight into the window: nothing then holds
    // them to the display's rate, and the caller should.
    bool waitsForDisplay() const { return !showsWindowPixels_; }

    // A window pixel as a fraction of the viewport, each clamped to 0..1.
    CanvasFraction windowToCanvas(uint32_t x, uint32_t y) const;
    const Viewport& viewport() const { return viewport_; }
    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t overlayTextureWidth() const { return overlayWidth_; }
    uint32_t overlayTextureHeight() const { return overlayHeight_; }

    // Keeps a copy of every presented frame so the last one can be saved; costs
    // one image copy per frame, so only screenshot runs turn it on.
    void setFrameCapture(bool on) { captureFrames_ = on; }
    // Writes the last presented frame as an RGB PNG. False when no frame was
    // captured (capture off, or the surface cannot be read back) or writing failed.
    bool saveLastFrame(const std::string& pngPath);

    // Releases every device object; safe to call again.
    void shutdown();

  protected:
    void recordDraw(uint32_t firstVertex, uint32_t vertexCount) override;
    void recordPipelineBind(Pipeline pipeline) override;

  private:
    // An image the renderer samples (pictures.cpp); `framebuffer` only for
    // those it also draws into.
    struct Picture {
        VkImage image = VK_NULL_HANDLE;
        VkDeviceMemory memory = VK_NULL_HANDLE;
        VkImageView view = VK_NULL_HANDLE;
        VkFramebuffer framebuffer = VK_NULL_HANDLE;
    };

    // Bring-up steps, in order.
    bool loadVulkanLibrary();
    bool createInstance(const WindowSurface& window);
    bool createSurface(const WindowSurface& window);
    bool pickPhysicalDevice();
    bool createDevice();
    bool buildSwapchain();
    bool createRenderPass();
    bool createFramebuffers();
    bool createCommandPool();
    bool createFrameSlots();
    bool createLayouts();
    bool createPipelines();

    // Tear-down (shutdown), in the reverse of bring-up; each leaves what it
    // released empty, so none minds being called again.
    void releaseDeviceObjects();
    void destroyOverlaySets();
    void destroyPipelines();
    void destroyLayouts();
    void destroyFrameSlots();
    void destroyCommandPool();
    void destroyFramebuffers();
    void destroyRenderPasses();
    void destroyDevice();
    void releaseInstance();  // surface, instance and the Vulkan library

    // Frames shown through the window's own pixels (window_pixels.cpp): the
    // frame slots' images stand in for the swapchain's, and each frame is
    // copied out to the host and handed to the window one frame later.
    bool choosesWindowPixels(const WindowSurface& window) const;
    bool buildWindowImages();
    bool createWindowImage();
    void destroyWindowImages();
    void recordWindowImageHandOver();
    void showFinishedFrame();
    void fallBackToSwapchain();

    // A slot's last finished frame in host memory: the screenshot copy, or
    // the window's image itself. `bytes` is null when the slot holds none.
    struct FramePixels {
        const uint8_t* bytes = nullptr;
        VkExtent2D extent{};
        size_t rowBytes = 0;
    };
    FramePixels framePixels(uint32_t slot) const;

    void destroySwapchain();
    bool rebuildSwapchain();  // waits for the device; skipped while the size is empty
    void recoverFromFailedSubmit();

    // Host buffers on this renderer's device.
    bool createHostBuffer(VkDeviceSize size, VkBufferUsageFlags usage, HostBuffer& out) {
        return nj::createHostBuffer(device_, physicalDevice_, size, usage, out);
    }
    void destroyHostBuffer(HostBuffer& buffer) { nj::destroyHostBuffer(device_, buffer); }

    bool createOverlayTexture(int width, int height);
    void destroyOverlayTexture();
    bool recordOverlayUpload(const uint8_t* pixels, int width, int height, int rowBytes);

    void recordFrameCapture();

    // Pictures (pictures.cpp). Host: a linear image in memory the host can
    // map and read row by row.
    enum class PictureMemory : uint8_t { Device, Host };
    bool createPicture(uint32_t width, uint32_t height, VkFormat format, VkImageUsageFlags usage,
                       VkRenderPass pass, Picture& out,
                       PictureMemory memory = PictureMemory::Device);
    void destroyPicture(Picture& picture);
    VkSampler createSampler(VkFilter filter);
    VkDescriptorPool createTexturePool(uint32_t sets);
    VkDescriptorSet allocateTextureSet(VkDescriptorPool pool);
    void writeTextureSet(VkDescriptorSet set, VkSampler sampler, VkImageView view);
    // Textured drawing between bindTexture and unbindTexture (which restores
    // the batch's blend pipeline); rectangles in canvas units.
    void bindTexture(VkPipeline pipeline, VkDescriptorSet set);
    void pushTexturedRect(float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                          float v1);
    void unbindTexture();
    // Binds the blend pipeline the batch is drawing with into the current buffer.
    void bindBatchPipeline() {
        recordPipelineBind(additiveBlend() ? Pipeline::Additive : Pipeline::AlphaBlend);
    }
    // A picture covering the whole canvas, copied without blending.
    void drawCanvasPicture(VkDescriptorSet set);
    // Drawing into a picture (made with picturePass_) in `cb`: the pass opens
    // cleared to `background`, with viewport and scissor over all of it;
    // closing it makes its pixels visible to the fragment shaders that sample it next.
    void beginPicturePass(VkCommandBuffer cb, const Picture& picture, uint32_t width,
                          uint32_t height, const VkClearColorValue& background);
    void endPicturePass(VkCommandBuffer cb);

    // A colour pass over one image of the swapchain's format, leaving it in
    // `finalLayout` (swapchain.cpp): the screen's, and its twins for pictures.
    // keepContents: the pass opens on what the attachment already holds (in
    // the colour-attachment layout) instead of clearing it.
    bool createColourPass(VkImageLayout finalLayout, VkRenderPass& out, bool keepContents = false);

    // Opens the screen's render pass, cleared (frame.cpp).
    void beginScreenPass();

    // The static layers (static_layer.cpp).
    struct KeptLayer {
        Picture picture;
        VkDescriptorSet set = VK_NULL_HANDLE;
        std::uint64_t key = 0;
        bool valid = false;  // the picture holds the layer named `key`
        // Where a see-through layer has pixels, once read back after its bake;
        // until then it is drawn over the whole viewport.
        bool coverageKnown = false;
        std::vector<PixelRect> coverage;
        HostBuffer readback;    // the bake's copy on its way to the host
        int readbackSlot = -1;  // the frame slot whose fence says it has arrived
    };
    // The viewport's size when it lies on whole pixels (any 16:9 window, a
    // letterboxed full screen): only there do texels and pixels line up.
    bool wholePixelViewport(uint32_t& width, uint32_t& height) const;
    bool prepareKeptPictures(uint32_t width, uint32_t height);
    void beginBake(KeptLayer& layer, StaticLayer which);
    void recordCoverageReadback(KeptLayer& layer);
    void collectCoverage(uint32_t slot);
    void drawKeptLayer(StaticLayer which);
    void drawSeeThroughPicture(const KeptLayer& layer);
    void pushPictureRuns(const std::vector<PixelRect>& runs, uint32_t width, uint32_t height);
    bool copyStaticPicture();
    void clearLetterbox();
    void forgetKeptLayers();    // after a submission that never ran their bakes
    void destroyStaticLayer();  // the images; the pass stays for the next ones
    VkCommandBuffer frameCommandBuffer_ = VK_NULL_HANDLE;  // the frame's, while baking
    KeptLayer kept_[kStaticLayerCount];
    VkSampler keptSampler_ = VK_NULL_HANDLE;
    VkDescriptorPool keptDescriptorPool_ = VK_NULL_HANDLE;
    uint32_t keptWidth_ = 0, keptHeight_ = 0;  // the images' size
    bool baking_ = false;                      // primitives go into the bake buffer
    StaticLayer bakingLayer_ = StaticLayer::Ground;
    bool bakePending_ = false;     // this frame's bake buffer is recording, to be submitted
    bool screenPassOpen_ = false;  // the frame's pass has begun (with its first draw)

    uint32_t overlayWidth_ = 0;  // overlay texture size in pixels; 0 x 0 while none exists
    uint32_t overlayHeight_ = 0;
    bool overlayFilled_ = false;          // the texture holds a bitmap (not just created)
    std::vector<PixelRect> overlayRuns_;  // the texture's covered tiles
    int width_ = 1280;                    // drawable pixels; the swapchain extent after each build
    int height_ = 720;

    void* vulkanLibrary_ = nullptr;  // dlopen handle
    VkInstance instance_ = VK_NULL_HANDLE;
    VkSurfaceKHR surface_ = VK_NULL_HANDLE;
    VkPhysicalDevice physicalDevice_ = VK_NULL_HANDLE;
    VkDevice device_ = VK_NULL_HANDLE;
    uint32_t graphicsFamily_ = 0;
    uint32_t presentFamily_ = 0;
    VkQueue graphicsQueue_ = VK_NULL_HANDLE;
    VkQueue presentQueue_ = VK_NULL_HANDLE;

    VkSwapchainKHR swapchain_ = VK_NULL_HANDLE;
    // Set when frames go to the window through showPixels_ instead of the swapchain.
    bool showsWindowPixels_ = false;
    std::function<bool(const uint8_t*, int, int, int)> showPixels_;
    // Behind each of swapchainImages_ while showing window pixels: linear
    // images in host memory, mapped for their life.
    struct WindowImage {
        VkDeviceMemory memory = VK_NULL_HANDLE;
        const uint8_t* pixels = nullptr;
        size_t rowBytes = 0;
    };
    std::vector<WindowImage> windowImages_;
    int unshownSlot_ = -1;  // the slot whose submitted frame the window has yet to get
    VkSurfaceFormatKHR surfaceFormat_{VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR};
    VkExtent2D swapchainExtent_{1280, 720};
    bool swapchainReadable_ = false;  // images carry TRANSFER_SRC usage
    bool swapchainWritable_ = false;  // images carry TRANSFER_DST usage (the kept floor's copy)
    std::vector<VkImage>
        swapchainImages_;  // the swapchain's, or one per slot when showing window pixels
    std::vector<VkImageView> swapchainImageViews_;  // one per image
    std::vector<VkFramebuffer> framebuffers_;       // one per image view
    VkRenderPass renderPass_ = VK_NULL_HANDLE;
    VkRenderPass picturePass_ = VK_NULL_HANDLE;  // its twin for pictures drawn into (world, floor)
    // The screen's pass reopened on the kept floor copied in rather than cleared.
    VkRenderPass screenLoadPass_ = VK_NULL_HANDLE;

    VkDescriptorSetLayout emptySetLayout_ = VK_NULL_HANDLE;    // set 0
    VkDescriptorSetLayout overlaySetLayout_ = VK_NULL_HANDLE;  // set 1: the overlay sampler
    VkPipelineLayout pipelineLayout_ = VK_NULL_HANDLE;
    VkPipeline alphaPipeline_ = VK_NULL_HANDLE;
    VkPipeline additivePipeline_ = VK_NULL_HANDLE;
    VkPipeline texturedPipeline_ = VK_NULL_HANDLE;
    VkPipeline copyPipeline_ = VK_NULL_HANDLE;  // textured, no blending: opaque pictures

    VkCommandPool commandPool_ = VK_NULL_HANDLE;
    FrameSlot slots_[kFramesInFlight];
    VkCommandBuffer currentCommandBuffer_ = VK_NULL_HANDLE;  // recording between begin and finish

    VkDescriptorPool descriptorPool_ = VK_NULL_HANDLE;
    VkDescriptorSet overlaySet_ = VK_NULL_HANDLE;         // filtered: a page scaled to the viewport
    VkDescriptorSet overlayNearestSet_ = VK_NULL_HANDLE;  // one texel to a pixel
    Picture overlayPicture_;
    VkSampler overlaySampler_ = VK_NULL_HANDLE;
    VkSampler overlayNearestSampler_ = VK_NULL_HANDLE;

    uint32_t currentFrame_ = 0;   // frame slot, 0 or 1
    uint32_t imageIndex_ = 0;     // acquired swapchain image
    bool frameActive_ = false;    // between a successful beginFrame and submitAndPresent
    bool uploadPending_ = false;  // this frame's overlay upload awaits submission

    Viewport viewport_;

    bool captureFrames_ = false;
    int lastSubmittedSlot_ = -1;
};

}  // namespace nj
