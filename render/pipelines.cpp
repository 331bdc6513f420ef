// Set and pipeline layouts and the four pipelines from embedded shaders.

#include <cstdint>
#include <span>

#include "render/device_handles.hpp"
#include "render/vulkan_log.hpp"
#include "render/vulkan_renderer.hpp"

// SPIR-V compiled from render/shaders at build time.
#include "batch.vert.spv.h"
#include "solid.frag.spv.h"
#include "textured.frag.spv.h"

namespace nj {

namespace {

VkShaderModule makeShader(VkDevice device, std::span<const uint32_t> code) {
    VkShaderModuleCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
    info.codeSize = code.size_bytes();
    info.pCode = code.data();
    VkShaderModule module = VK_NULL_HANDLE;
    if (vkCreateShaderModule(device, &info, nullptr, &module) != VK_SUCCESS) {
        return VK_NULL_HANDLE;
    }
    return module;
}

enum class Blend { Alpha, Additive, Premultiplied, Replace };

// Colour = src * srcAlpha + dst * (1 - srcAlpha) for alpha blending, dst * 1 for
// additive; alpha accumulates the same way with a source factor of one. The
// page's bitmap arrives with its colours already multiplied by alpha, so the
// overlay takes the source colour as it is (multiplying again would darken
// every half-transparent edge of the page). Replace writes the source as it
// is: for pictures of the play field that cover what they are drawn over.
VkPipelineColorBlendAttachmentState blendState(Blend blend) {
    const bool additive = blend == Blend::Additive;
    VkPipelineColorBlendAttachmentState b{};
    b.blendEnable = blend == Blend::Replace ? VK_FALSE : VK_TRUE;
    b.srcColorBlendFactor =
        blend == Blend::Premultiplied ? VK_BLEND_FACTOR_ONE : VK_BLEND_FACTOR_SRC_ALPHA;
    b.dstColorBlendFactor = additive ? VK_BLEND_FACTOR_ONE : VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA;
    b.colorBlendOp = VK_BLEND_OP_ADD;
    b.srcAlphaBlendFactor = VK_BLEND_FACTOR_ONE;
    b.dstAlphaBlendFactor = additive ? VK_BLEND_FACTOR_ONE : VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA;
    b.alphaBlendOp = VK_BLEND_OP_ADD;
    b.colorWriteMask = VK_COLOR_COMPONENT_R_BIT | VK_COLOR_COMPONENT_G_BIT |
                       VK_COLOR_COMPONENT_B_BIT | VK_COLOR_COMPONENT_A_BIT;
    return b;
}

struct PipelineRecipe {
    VkShaderModule vertex;
    VkShaderModule fragment;
    Blend blend;
};

VkPipeline makePipeline(VkDevice device, VkRenderPass renderPass, VkPipelineLayout layout,
                        const PipelineRecipe& recipe) {
    VkPipelineShaderStageCreateInfo stages[2]{};
    stages[0].sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
    stages[0].stage = VK_SHADER_STAGE_VERTEX_BIT;
    stages[0].module = recipe.vertex;
    stages[0].pName = "main";
    stages[1].sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
    stages[1].stage = VK_SHADER_STAGE_FRAGMENT_BIT;
    stages[1].module = recipe.fragment;
    stages[1].pName = "main";

    const VkVertexInputBindingDescription binding{0, sizeof(Vertex), VK_VERTEX_INPUT_RATE_VERTEX};
    const VkVertexInputAttributeDescription attributes[] = {
        {0, 0, VK_FORMAT_R32G32_SFLOAT, offsetof(Vertex, x)},
        {1, 0, VK_FORMAT_R32G32B32A32_SFLOAT, offsetof(Vertex, color)},
        {2, 0, VK_FORMAT_R32G32_SFLOAT, offsetof(Vertex, u)},
    };
    VkPipelineVertexInputStateCreateInfo vertexInput{};
    vertexInput.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    vertexInput.vertexBindingDescriptionCount = 1;
    vertexInput.pVertexBindingDescriptions = &binding;
    vertexInput.vertexAttributeDescriptionCount = 3;
    vertexInput.pVertexAttributeDescriptions = attributes;

    VkPipelineInputAssemblyStateCreateInfo assembly{};
    assembly.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    assembly.topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;

    VkPipelineViewportStateCreateInfo viewport{};
    viewport.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    viewport.viewportCount = 1;
    viewport.scissorCount = 1;

    VkPipelineRasterizationStateCreateInfo raster{};
    raster.sType = VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO;
    raster.polygonMode = VK_POLYGON_MODE_FILL;
    raster.cullMode = VK_CULL_MODE_NONE;
    raster.frontFace = VK_FRONT_FACE_COUNTER_CLOCKWISE;
    raster.lineWidth = 1.0f;

    VkPipelineMultisampleStateCreateInfo multisample{};
    multisample.sType = VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO;
    multisample.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;

    const VkPipelineColorBlendAttachmentState attachment = blendState(recipe.blend);
    VkPipelineColorBlendStateCreateInfo blend{};
    blend.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    blend.attachmentCount = 1;
    blend.pAttachments = &attachment;

    const VkDynamicState dynamics[] = {VK_DYNAMIC_STATE_VIEWPORT, VK_DYNAMIC_STATE_SCISSOR};
    VkPipelineDynamicStateCreateInfo dynamic{};
    dynamic.sType = VK_STRUCTURE_TYPE_PIPELINE_DYNAMIC_STATE_CREATE_INFO;
    dynamic.dynamicStateCount = 2;
    dynamic.pDynamicStates = dynamics;

    VkGraphicsPipelineCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO;
    info.stageCount = 2;
    info.pStages = stages;
    info.pVertexInputState = &vertexInput;
    info.pInputAssemblyState = &assembly;
    info.pViewportState = &viewport;
    info.pRasterizationState = &raster;
    info.pMultisampleState = &multisample;
    info.pColorBlendState = &blend;
    info.pDynamicState = &dynamic;
    info.layout = layout;
    info.renderPass = renderPass;
    info.subpass = 0;
    VkPipeline pipeline = VK_NULL_HANDLE;
    if (vkCreateGraphicsPipelines(device, VK_NULL_HANDLE, 1, &info, nullptr, &pipeline) !=
        VK_SUCCESS) {
        return VK_NULL_HANDLE;
    }
    return pipeline;
}

}  // namespace

bool VulkanRenderer::createLayouts() {
    VkDescriptorSetLayoutCreateInfo empty{};
    empty.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
    if (vkCreateDescriptorSetLayout(device_, &empty, nullptr, &emptySetLayout_) != VK_SUCCESS) {
        emptySetLayout_ = VK_NULL_HANDLE;
    }

    VkDescriptorSetLayoutBinding sampler{};
    sampler.binding = 0;
    sampler.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    sampler.descriptorCount = 1;
    sampler.stageFlags = VK_SHADER_STAGE_FRAGMENT_BIT;
    VkDescriptorSetLayoutCreateInfo overlay{};
    overlay.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
    overlay.bindingCount = 1;
    overlay.pBindings = &sampler;
    if (vkCreateDescriptorSetLayout(device_, &overlay, nullptr, &overlaySetLayout_) != VK_SUCCESS) {
        overlaySetLayout_ = VK_NULL_HANDLE;
        logVulkan("Failed to create UI descriptor set layout.");
        return false;
    }

    const VkDescriptorSetLayout sets[] = {emptySetLayout_, overlaySetLayout_};
    VkPipelineLayoutCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    info.setLayoutCount = 2;
    info.pSetLayouts = sets;
    if (vkCreatePipelineLayout(device_, &info, nullptr, &pipelineLayout_) != VK_SUCCESS) {
        pipelineLayout_ = VK_NULL_HANDLE;
        logVulkan("Failed to create pipeline layout.");
        return false;
    }
    return true;
}

bool VulkanRenderer::createPipelines() {
    const VkShaderModule vertex = makeShader(device_, kBatchVertexShader);
    const VkShaderModule solid = makeShader(device_, kSolidFragmentShader);
    const VkShaderModule textured = makeShader(device_, kTexturedFragmentShader);
    const bool shadersMade =
        vertex != VK_NULL_HANDLE && solid != VK_NULL_HANDLE && textured != VK_NULL_HANDLE;
    if (shadersMade) {
        alphaPipeline_ =
            makePipeline(device_, renderPass_, pipelineLayout_, {vertex, solid, Blend::Alpha});
        additivePipeline_ =
            makePipeline(device_, renderPass_, pipelineLayout_, {vertex, solid, Blend::Additive});
        texturedPipeline_ = makePipeline(device_, renderPass_, pipelineLayout_,
                                         {vertex, textured, Blend::Premultiplied});
        copyPipeline_ =
            makePipeline(device_, renderPass_, pipelineLayout_, {vertex, textured, Blend::Replace});
    }
    for (VkShaderModule m : {vertex, solid, textured}) {
        if (m != VK_NULL_HANDLE) vkDestroyShaderModule(device_, m, nullptr);
    }
    if (!shadersMade) {
        logVulkan("Failed to create shader modules.");
        return false;
    }
    // Drawing with a missing pipeline would crash the first frame; better to stop here.
    if (alphaPipeline_ == VK_NULL_HANDLE || additivePipeline_ == VK_NULL_HANDLE ||
        texturedPipeline_ == VK_NULL_HANDLE || copyPipeline_ == VK_NULL_HANDLE) {
        logVulkan("Failed to create graphics pipelines.");
        return false;
    }
    return true;
}

void VulkanRenderer::destroyPipelines() {
    for (VkPipeline* p :
         {&copyPipeline_, &texturedPipeline_, &additivePipeline_, &alphaPipeline_}) {
        release(device_, *p, vkDestroyPipeline);
    }
}

void VulkanRenderer::destroyLayouts() {
    release(device_, pipelineLayout_, vkDestroyPipelineLayout);
    release(device_, overlaySetLayout_, vkDestroyDescriptorSetLayout);
    release(device_, emptySetLayout_, vkDestroyDescriptorSetLayout);
}

}  // namespace nj
